#pragma once
// veloxcanmoni --replay FILE --gui: the recording played into the dashboard at the speed
// it was recorded, so a past drive can be watched on the gauges. The window is the live
// one (MainForm, its timers, its logs); only the adapter port and the clock come from
// the recording. Its logs go to --out DIR, or to a temporary folder removed at the end.
#include "app/ReplayCommand.h"
#include "common/FileSystem.h"
#include "link/qt/QtEventPump.h"
#include "sources/replay/GpsRecordingFeed.h"
#include "sources/replay/RecordingClock.h"
#include "sources/replay/RecordingSource.h"
#include "sources/replay/ReplayPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

namespace vcm {

class MainForm;

// The recording of a window replay, opened before any window exists so that a file
// that cannot be read is reported on the terminal.
struct WindowRecording {
    std::unique_ptr<RecordingSource> source;
    RecordedChunk first;
    std::unique_ptr<GpsRecordingFeed> gps; // the GPS log beside a raw log, or --gps
};

// Throws RecordingError when the recording cannot be read or holds nothing.
WindowRecording openWindowRecording(const ReplayCommandLine& line);

// The window's event loop, plus the replay port's answers to the start-up dialogue.
class WindowReplayPump final : public EventPump {
public:
    explicit WindowReplayPump(ReplayPort& adapter) : adapter_(adapter) {}
    void yieldOnce() override;
    void waitForEvents(int maxMs) override;

private:
    ReplayPort& adapter_;
    QtEventPump qt_;
};

// The dashboard window fed from a recording: recorded time follows the wall clock from
// start(), and every few milliseconds the chunks that are due reach the adapter port,
// as they reached it on the road. The window's settings file is a copy of the user's,
// set for the recording, kept in scratchFolder.
class WindowReplay final : public QObject {
    Q_OBJECT
public:
    WindowReplay(WindowRecording recording, const ReplayCommandLine& line, const MonitorSettings& userSettings,
                 const std::string& scratchFolder);
    ~WindowReplay() override;

    MainForm& window() { return *window_; }
    void start();
    bool ended() const { return !more_; }

signals:
    // The whole recording has been played; the window stays open.
    void recordingEnded();

private:
    void feed();

    WindowRecording recording_;
    RecordedChunk next_;
    bool more_ = true;
    DiskFileSystem disk_;
    RecordingClock time_;
    ReplayPort adapterPort_{"replay", recording_.source->form()};
    ReplayPort auxPort_{"replay aux", std::nullopt};
    ReplayPort gpsPort_{"replay GPS", std::nullopt};
    WindowReplayPump pump_{adapterPort_};
    std::unique_ptr<MainForm> window_;
    std::int64_t firstUs_ = 0;
    std::int64_t nextGpsUs_ = 0;
    std::size_t gpsTicks_ = 0;
    QElapsedTimer wall_;
    QTimer feeder_;
};

int runReplayWindow(int argc, char** argv, const ReplayCommandLine& line, const ReplayEnvironment& env);

} // namespace vcm
