#include "app/ReplayWindow.h"

#include "app/MainForm.h"
#include "common/FileSystem.h"
#include "config/Settings.h"
#include "link/qt/QtEventPump.h"
#include "link/replay/GpsRecordingFeed.h"
#include "link/replay/RecordingClock.h"
#include "link/replay/RecordingError.h"
#include "link/replay/RecordingSource.h"
#include "link/replay/ReplayPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <iostream>
#include <memory>

namespace vcm {

namespace {

// The window's event loop, plus the replay port's answers to the start-up dialogue.
class WindowReplayPump final : public EventPump {
public:
    explicit WindowReplayPump(ReplayPort& adapter) : adapter_(adapter) {}
    void yieldOnce() override
    {
        adapter_.deliverAnswers();
        qt_.yieldOnce();
    }
    void waitForEvents(int maxMs) override
    {
        adapter_.deliverAnswers();
        qt_.waitForEvents(maxMs);
    }

private:
    ReplayPort& adapter_;
    QtEventPump qt_;
};

std::string gpsBeside(const std::string& input)
{
    std::filesystem::path p(input);
    p.replace_extension(".gps");
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec) ? p.string() : std::string();
}

} // namespace

int runReplayWindow(int argc, char** argv, const ReplayCommandLine& line, const ReplayEnvironment& env)
{
    RecordingOptions recording;
    if (line.elm327)
        recording.form = *line.elm327 ? AdapterForm::Elm327 : AdapterForm::CanUsb;
    recording.bitsPerSecond = line.bitsPerSecond;
    recording.startEpoch = line.startEpoch;
    recording.note = [](const std::string& note) { std::cerr << note << "\n"; };
    std::unique_ptr<RecordingSource> source;
    RecordedChunk next;
    std::unique_ptr<GpsRecordingFeed> gps;
    try {
        source = openRecording(line.input, recording);
        if (!source->next(next))
            throw RecordingError("the recording holds no received text");
        std::string gpsPath = line.gpsPath;
        if (gpsPath.empty() && source->kind() == RecordingKind::RawLog)
            gpsPath = gpsBeside(line.input);
        if (!gpsPath.empty())
            gps = std::make_unique<GpsRecordingFeed>(gpsPath, source->durationMs().value_or(0));
    } catch (const RecordingError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }

    QApplication app(argc, argv);
    // The window reads its settings from a file: a copy of the user's, set for the recording.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    MonitorSettings settings = env.settings;
    settings.UseElm327 = source->form() == AdapterForm::Elm327;
    settings.PortNum = 1;
    settings.PortNumM = 0;
    settings.EnableGPS = gps != nullptr;
    settings.PortNumGPS = gps ? 2 : 0;
    settings.SuperLogFile = false;
    if (line.metric)
        settings.MetricUnits = *line.metric;
    if (line.celsius)
        settings.Celsius = *line.celsius;
    const std::string folder = scratch.path().toStdString();
    settings.SavePath = line.outFolder.empty() ? folder : line.outFolder;
    DiskFileSystem disk;
    const std::string settingsFile = (std::filesystem::path(folder) / "VeloxCanMoni.INI").string();
    writeSettings(disk, settingsFile, settings);

    RecordingClock time(next.timeUs, next.tickMs);
    time.setAt(next.timeUs);
    ReplayPort adapterPort("replay", source->form());
    ReplayPort auxPort("replay aux", std::nullopt);
    ReplayPort gpsPort("replay GPS", std::nullopt);
    WindowReplayPump pump(adapterPort);
    const QString point = QLocale().decimalPoint();
    MainForm window(MainFormServices{time.clock(), disk, adapterPort, auxPort, gpsPort, pump, settingsFile, folder,
                                     point.isEmpty() ? '.' : point.at(0).toLatin1(), QSize(), true});
    window.show();

    // Recorded time follows the wall clock from here; every few milliseconds the chunks
    // that are due reach the port, as they reached it on the road.
    const std::int64_t firstUs = next.timeUs;
    std::int64_t nextGpsUs = firstUs + 2050000;
    std::size_t gpsTicks = 0;
    bool more = true;
    QElapsedTimer wall;
    wall.start();
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, &app, [&] {
        const std::int64_t nowUs = firstUs + wall.nsecsElapsed() / 1000;
        try {
            while (more && next.timeUs <= nowUs) {
                time.setAt(next.timeUs);
                adapterPort.setAnswering(false);
                adapterPort.deliver(next.text);
                more = source->next(next);
            }
        } catch (const RecordingError& e) {
            std::cerr << e.what() << "\n";
            more = false;
        }
        if (gps && nowUs >= nextGpsUs) {
            gpsPort.hold(gps->textForTick(++gpsTicks));
            nextGpsUs += 2050000;
        }
        time.setAt(nowUs);
        if (!more) {
            feeder.stop();
            adapterPort.setAnswering(true); // the stop dialogue at close is answered
            std::cerr << "end of the recording; close the window to quit\n";
        }
    });
    feeder.start(5);
    return app.exec();
}

} // namespace vcm
