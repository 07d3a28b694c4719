#include "app/ReplayWindow.h"

#include "app/MainForm.h"
#include "config/Settings.h"
#include "run/Monitor.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/ReplaySession.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <filesystem>
#include <iostream>

namespace vcm {

namespace {

constexpr std::int64_t kGpsUs = static_cast<std::int64_t>(Monitor::GpsTimerMs) * 1000;
constexpr int kFeedEveryMs = 5;

std::string gpsBeside(const std::string& input)
{
    std::filesystem::path p(input);
    p.replace_extension(".gps");
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec) ? p.string() : std::string();
}

char localeDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? '.' : point.at(0).toLatin1();
}

} // namespace

WindowRecording openWindowRecording(const ReplayCommandLine& line)
{
    RecordingOptions options;
    if (line.elm327)
        options.form = *line.elm327 ? AdapterForm::Elm327 : AdapterForm::CanUsb;
    options.bitsPerSecond = line.bitsPerSecond;
    options.startEpoch = line.startEpoch;
    options.note = [](const std::string& note) { std::cerr << note << "\n"; };
    WindowRecording recording;
    recording.source = openRecording(line.input, options);
    if (!recording.source->next(recording.first))
        throw RecordingError("the recording holds no received text");
    std::string gpsPath = line.gpsPath;
    if (gpsPath.empty() && recording.source->kind() == RecordingKind::RawLog)
        gpsPath = gpsBeside(line.input);
    if (!gpsPath.empty())
        recording.gps = std::make_unique<GpsRecordingFeed>(gpsPath, recording.source->durationMs().value_or(0));
    return recording;
}

void WindowReplayPump::yieldOnce()
{
    adapter_.deliverAnswers();
    qt_.yieldOnce();
}

void WindowReplayPump::waitForEvents(int maxMs)
{
    adapter_.deliverAnswers();
    qt_.waitForEvents(maxMs);
}

WindowReplay::WindowReplay(WindowRecording recording, const ReplayCommandLine& line,
                           const MonitorSettings& userSettings, const std::string& scratchFolder)
    : recording_(std::move(recording)), next_(recording_.first),
      time_(recording_.first.timeUs, recording_.first.tickMs)
{
    time_.setAt(next_.timeUs);
    MonitorSettings settings = replaySettings(userSettings, recording_.source->form(), recording_.gps != nullptr,
                                              line.outFolder.empty() ? scratchFolder : line.outFolder);
    if (line.metric)
        settings.MetricUnits = *line.metric;
    if (line.celsius)
        settings.Celsius = *line.celsius;
    const std::string settingsFile = (std::filesystem::path(scratchFolder) / "VeloxCanMoni.INI").string();
    writeSettings(disk_, settingsFile, settings);
    window_ = std::make_unique<MainForm>(MainFormServices{time_.clock(), disk_, adapterPort_, auxPort_, gpsPort_,
                                                          pump_, settingsFile, scratchFolder, localeDecimalPoint(),
                                                          QSize(), true});
    connect(&feeder_, &QTimer::timeout, this, &WindowReplay::feed);
}

WindowReplay::~WindowReplay() = default;

void WindowReplay::start()
{
    firstUs_ = next_.timeUs;
    nextGpsUs_ = firstUs_ + kGpsUs;
    // The recording plays once the adapter's start-up dialogue has been answered.
    connect(window_.get(), &MainForm::startUpFinished, this, [this] {
        wall_.start();
        feeder_.start(kFeedEveryMs);
    });
    window_->show();
}

void WindowReplay::feed()
{
    const std::int64_t nowUs = firstUs_ + wall_.nsecsElapsed() / 1000;
    try {
        while (more_ && next_.timeUs <= nowUs) {
            time_.setAt(next_.timeUs);
            adapterPort_.setAnswering(false);
            adapterPort_.deliver(next_.text);
            more_ = recording_.source->next(next_);
        }
    } catch (const RecordingError& e) {
        std::cerr << e.what() << "\n";
        more_ = false;
    }
    if (recording_.gps && nowUs >= nextGpsUs_) {
        gpsPort_.hold(recording_.gps->textForTick(++gpsTicks_));
        nextGpsUs_ += kGpsUs;
    }
    time_.setAt(nowUs);
    if (!more_) {
        feeder_.stop();
        adapterPort_.setAnswering(true); // the stop dialogue at close is answered
        emit recordingEnded();
    }
}

int runReplayWindow(int argc, char** argv, const ReplayCommandLine& line, const ReplayEnvironment& env)
{
    WindowRecording recording;
    try {
        recording = openWindowRecording(line);
    } catch (const RecordingError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }

    QApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    WindowReplay replay(std::move(recording), line, env.settings, scratch.path().toStdString());
    QObject::connect(&replay, &WindowReplay::recordingEnded, &app,
                     [] { std::cerr << "end of the recording; close the window to quit\n"; });
    replay.start();
    return app.exec();
}

} // namespace vcm
