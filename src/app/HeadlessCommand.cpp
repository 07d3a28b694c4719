#include "app/HeadlessCommand.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Format.h"
#include "common/MemoryView.h"
#include "link/Monitor.h"
#include "link/qt/MonitorTimers.h"
#include "link/qt/QtEventPump.h"
#include "link/qt/QtPorts.h"
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
std::string statusLine(Monitor& m, const Clock& clock, char dec)
{
    const VehicleState& v = m.vehicle();
    const bool metric = m.settings().MetricUnits;
    std::string s = formatDateTime(clock.now(), "hh:mm:ss");
    s += m.isRunning() ? " running " : " stopped ";
    s += formatNumber(v.SpeedDisplay, "0.0", dec) + (metric ? " km/h " : " mph ");
    s += formatNumber(v.EngineRpm, "0", dec) + " rpm SOC ";
    s += formatNumber(v.StateOfCharge / 10.0, "0.0", dec) + " % ";
    s += formatNumber(v.DistanceAccumulator / 3600.0 / 1000.0, "0.000", dec) + " km ";
    s += formatNumber(v.FuelAccumulator / 1296000000.0 / 1000.0, "0.000", dec) + " l | ";
    const RunLog& log = m.runLog();
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
bool saveTripWithRetries(Monitor& monitor)
{
    for (int attempt = 1;; ++attempt) {
        if (monitor.saveTrips())
            return true;
        if (attempt == 3)
            return false;
        std::fprintf(stderr, "veloxcanmoni: %s; trying again\n", monitor.trips().saveError().c_str());
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

} // namespace

std::optional<HeadlessArgs> parseHeadlessArgs(const std::vector<std::string>& args)
{
    HeadlessArgs out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--headless")
            continue;
        if (args[i] == "--settings" && i + 1 < args.size()) {
            out.settingsFile = args[++i];
        } else if (args[i] == "--status-every" && i + 1 < args.size()) {
            out.statusEverySeconds = std::atoi(args[++i].c_str());
            if (out.statusEverySeconds < 1)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

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
    MemoryView view;
    Monitor monitor(settings, view, clock, disk, ports.adapter(), ports.aux(), ports.gps(), pump, dec,
                    setup.defaultSaveFolder);
    monitor.loadTrips();
    MonitorTimers timers(monitor);

    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);

    auto tellMessages = [&view] {
        for (const auto& m : view.messages)
            std::fprintf(stderr, "%s: %s\n", m.title.c_str(), m.text.c_str());
        view.messages.clear();
    };
    monitor.startAcquisition();
    tellMessages();
    if (!monitor.isRunning()) {
        std::fprintf(stderr, "veloxcanmoni: the adapter could not be started (settings %s)\n", setup.settingsFile.c_str());
        return 1;
    }
    std::printf("logging to %s (settings %s, trips %s); SIGINT or SIGTERM stops\n",
                setup.saveFolder.c_str(), setup.settingsFile.c_str(), monitor.trips().path().c_str());
    std::fflush(stdout);

    // The signal handler only sets a flag: the stop itself runs on the event loop.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        if (stopSignal != 0)
            app.quit();
    });
    watch.start(50);

    QTimer status;
    QObject::connect(&status, &QTimer::timeout, &app, [&] {
        tellMessages();
        // A lost adapter (unplugged, link dropped) is started again when it is back.
        if (!monitor.isRunning())
            monitor.startAcquisition();
        std::printf("%s\n", statusLine(monitor, clock, dec).c_str());
        std::fflush(stdout);
    });
    status.start(setup.statusEverySeconds * 1000);

    app.exec();

    monitor.stopAcquisition();
    monitor.runLog().close();
    if (!saveTripWithRetries(monitor)) {
        std::printf("stopped on signal %d: logs closed, trip NOT saved\n", stopSignal.load());
        std::fprintf(stderr, "veloxcanmoni: the trip of this run could not be saved: %s\n",
                     monitor.trips().saveError().c_str());
        return 1;
    }
    std::printf("stopped on signal %d: logs closed, trip file %s\n", stopSignal.load(), monitor.trips().path().c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace vcm
