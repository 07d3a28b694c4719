#include "app/HeadlessCommand.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Format.h"
#include "common/Notices.h"
#include "decode/Units.h"
#include "link/AdapterControl.h"
#include "run/Monitor.h"
#include "run/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "sources/qt/QtPorts.h"
#include "logging/RunLog.h"
#include "logging/TripFile.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vcm {

namespace {

std::atomic<int> stopSignal{0};

extern "C" void onStopSignal(int signal)
{
    stopSignal = signal;
}

// "09:10:05 running 42.0 km/h 1216 rpm SOC 55.0 % 1.234 km 0.081 l | CAN_04122026_0910.csv 1234 rows"
std::string statusLine(const Monitor& m, bool metric, const Clock& clock, char dec)
{
    const VehicleState& v = m.liveValues();
    std::string s = formatDateTime(clock.now(), "hh:mm:ss");
    s += m.isRunning() ? " running " : " stopped ";
    s += formatNumber(v.SpeedDisplay, "0.0", dec) + (metric ? " km/h " : " mph ");
    s += formatNumber(v.EngineRpm, "0", dec) + " rpm SOC ";
    s += formatNumber(v.StateOfCharge / 10.0, "0.0", dec) + " % ";
    s += formatNumber(units::metres(v.DistanceAccumulator) / 1000.0, "0.000", dec) + " km ";
    s += formatNumber(units::millilitres(v.FuelAccumulator) / 1000.0, "0.000", dec) + " l | ";
    const RunLog& log = m.logs();
    if (log.isOpen())
        s += log.fileBase() + ".csv " + std::to_string(log.rowCount() > 0 ? log.rowCount() - 1 : 0) + " rows";
    else
        s += "no log open";
    if (log.failedRowCount() > 0)
        s += ", " + std::to_string(log.failedRowCount()) + " rows not written";
    if (!log.lastError().empty())
        s += " (" + log.lastError() + ")";
    return s;
}

// A full disk may get space back, a medium may come back: the trip is tried three times.
bool saveTripWithRetries(TripKeeping& monitor)
{
    for (int attempt = 1;; ++attempt) {
        if (monitor.saveTrips())
            return true;
        if (attempt == 3)
            return false;
        std::fprintf(stderr, "veloxcanmoni: %s; trying again\n", monitor.saveError().c_str());
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

} // namespace

int runHeadless(int argc, char** argv, const HeadlessSetup& setup)
{
    QCoreApplication app(argc, argv);
    DiskFileSystem disk;
    MonitorSettings settings = setup.settings;
    const QString point = QLocale::system().decimalPoint();
    const char dec = point.isEmpty() ? '.' : point.at(0).toLatin1();

    SystemClock clock;
    QtPorts ports(setup.portMap, clock);
    QtEventPump pump;
    NoticeList notices;
    Monitor monitor(settings, notices, clock, disk, ports.adapter(), ports.aux(), ports.gps(), pump, dec,
                    setup.defaultSaveFolder);
    monitor.loadTrips();
    MonitorTimers timers(monitor);

    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    // Problems go to standard error as they happen, one line each; a message box the
    // session shows is told once, not at every retry that raises it again.
    std::string lastMessage;
    auto tellMessages = [&notices, &lastMessage] {
        for (const auto& m : notices.told) {
            std::string line = m.title + ": " + m.text;
            for (char& c : line)
                if (c == '\n')
                    c = ' ';
            if (line != lastMessage)
                std::fprintf(stderr, "%s\n", line.c_str());
            lastMessage = line;
        }
        notices.told.clear();
    };
    monitor.setLinkReport([&lastMessage](LinkProblem problem, const std::string& line) {
        // The failed open is also the message box: one line, the box's.
        if (problem == LinkProblem::OpenFailed)
            return;
        std::fprintf(stderr, "veloxcanmoni: %s\n", line.c_str());
        lastMessage.clear();
    });

    // Everything runs inside the event loop, so that a signal ends a start-up dialogue
    // (up to six replies awaited) as promptly as a running session.
    int status = 0;
    bool started = false;
    QTimer::singleShot(0, &app, [&] {
        monitor.startAcquisition();
        tellMessages();
        if (stopSignal != 0)
            return;
        if (!monitor.isRunning()) {
            std::fprintf(stderr, "veloxcanmoni: the adapter could not be started (settings %s)\n",
                         setup.settingsFile.c_str());
            status = 1;
            app.exit(1);
            return;
        }
        started = true;
        std::printf("logging to %s (settings %s, trips %s); SIGINT or SIGTERM stops\n", setup.saveFolder.c_str(),
                    setup.settingsFile.c_str(), monitor.tripFilePath().c_str());
        std::fflush(stdout);
    });

    // The signal handler only sets a flag: the stop itself runs on the event loop.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        if (stopSignal == 0 && !monitor.inputEnded())
            return;
        monitor.abandonDialogues();
        app.quit();
    });
    watch.start(50);

    QTimer statusTimer;
    QObject::connect(&statusTimer, &QTimer::timeout, &app, [&] {
        tellMessages();
        if (!started || stopSignal != 0 || monitor.inputEnded() || monitor.dialogueInProgress())
            return;
        // A lost adapter (unplugged, link dropped) is started again when it is back, on
        // the same trip: nothing driven so far is reset.
        if (!monitor.isRunning()) {
            monitor.resumeAcquisition();
            tellMessages();
        }
        std::printf("%s\n", statusLine(monitor, settings.MetricUnits, clock, dec).c_str());
        std::fflush(stdout);
    });
    statusTimer.start(setup.statusEverySeconds * 1000);

    app.exec();
    const bool inputEnded = monitor.inputEnded();
    if (!started && stopSignal == 0 && !inputEnded)
        return status;

    monitor.stopAcquisition();
    monitor.closeLogs();
    const std::string why = stopSignal != 0 ? "stopped on signal " + std::to_string(stopSignal.load())
                                            : std::string("stopped at the end of the adapter's input");
    if (!monitor.hasTripToSave()) {
        std::printf("%s: logs closed, trip file left alone (nothing driven)\n", why.c_str());
    } else if (!saveTripWithRetries(monitor)) {
        std::printf("%s: logs closed, trip NOT saved\n", why.c_str());
        std::fprintf(stderr, "veloxcanmoni: the trip of this run could not be saved: %s\n",
                     monitor.saveError().c_str());
        return 1;
    } else {
        std::printf("%s: logs closed, trip file updated (%s)\n", why.c_str(), monitor.tripFilePath().c_str());
    }
    std::fflush(stdout);
    return 0;
}

} // namespace vcm
