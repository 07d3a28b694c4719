#include "SimulatedDrive.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Notices.h"
#include "link/ManualEventPump.h"
#include "run/Monitor.h"
#include "sources/replay/ReplayPort.h"
#include "sources/sim/DriveModel.h"
#include "sources/sim/SimulatedPort.h"
#include "sources/sim/VirtualElm327.h"
#include "decode/FrameDecoder.h"
#include "logging/RunLog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace vcm {

std::string nmeaSentence(const std::string& body)
{
    unsigned sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

namespace {

// A 1 Hz receiver on a straight road heading north-east from 53.3613 N 6.5056 W.
class NmeaReceiver {
public:
    explicit NmeaReceiver(std::uint64_t seed) : model_(seed) {}

    // The sentences sent during the whole seconds up to simulated time ms.
    std::string sentencesUntil(double ms, DateTime start)
    {
        std::string text;
        for (; static_cast<double>(sent_ + 1) * 1000.0 <= ms; ++sent_) {
            model_.advanceTo(static_cast<double>(sent_ + 1) * 1000.0);
            const auto& s = model_.state();
            const double km = s.distanceKm;
            const double lat = 53.3613 + km * std::cos(0.785398) / 111.2;
            const double lon = -6.5056 + km * std::sin(0.785398) / (111.2 * std::cos(53.36 * 3.14159265 / 180));
            const double alt = 61.7 + 25.0 * std::sin(km / 2.0);
            const CivilTime c = DateTime::fromSeconds(start.seconds() + sent_ + 1).civil();
            char when[16], date[8], pos[64], buf[160];
            std::snprintf(when, sizeof when, "%02d%02d%02d.00", c.hour, c.minute, c.second);
            std::snprintf(date, sizeof date, "%02d%02d%02d", c.day, c.month, c.year % 100);
            const double alat = std::fabs(lat), alon = std::fabs(lon);
            std::snprintf(pos, sizeof pos, "%02d%07.4f,%c,%03d%07.4f,%c", static_cast<int>(alat),
                          (alat - std::floor(alat)) * 60, lat >= 0 ? 'N' : 'S', static_cast<int>(alon),
                          (alon - std::floor(alon)) * 60, lon >= 0 ? 'E' : 'W');
            std::snprintf(buf, sizeof buf, "GPGGA,%s,%s,1,08,0.9,%.1f,M,47.0,M,,", when, pos, alt);
            text += nmeaSentence(buf);
            text += nmeaSentence("GPGSA,A,3,04,05,09,12,24,25,29,31,,,,,1.8,0.9,1.5");
            std::snprintf(buf, sizeof buf, "GPRMC,%s,A,%s,%05.1f,045.0,%s,,,A", when, pos, s.speedKmh / 1.852, date);
            text += nmeaSentence(buf);
        }
        return text;
    }

private:
    sim::DriveModel model_;
    std::int64_t sent_ = 0;
};

int bufferFullReports(sim::SimulatedPort& port)
{
    const auto* elm = dynamic_cast<const sim::VirtualElm327*>(&port.adapter());
    return elm ? elm->bufferFullCount() : 0;
}

} // namespace

std::string recordSimulatedDrive(const SimulatedDriveOptions& options, SimulatedDriveStats* stats)
{
    ManualClock clock(1000000, options.start);
    MonitorSettings settings;
    settings.UseElm327 = options.elm327;
    settings.PortNum = 1;
    settings.BPS = options.bitsPerSecond;
    settings.SuperLogFile = true;
    settings.Logfile = true;
    settings.EnableGPS = options.withGps;
    settings.PortNumGPS = options.withGps ? 2 : 0;
    settings.MetricUnits = true;
    settings.Celsius = true;
    settings.SavePath = options.folder;

    sim::SimulatedCar car;
    car.adapter = options.elm327 ? sim::AdapterModel::Elm327 : sim::AdapterModel::CanUsb;
    car.seed = options.seed;
    sim::SimulatedPort adapterPort(clock, sim::makeVirtualAdapter(car));
    ReplayPort auxPort("aux", std::nullopt);
    ReplayPort gpsPort("GPS receiver", std::nullopt);
    NmeaReceiver receiver(options.seed);
    const double origin = clock.tickCount();
    std::string base; // the first log set
    ManualEventPump pump(clock, 1);
    NoticeList notices;
    DiskFileSystem disk;
    Monitor monitor(settings, notices, clock, disk, adapterPort, auxPort, gpsPort, pump, '.', options.folder);
    monitor.loadTrips();

    // The event loop: whatever is due at the clock's time runs - the serial port's
    // arrivals and both timers, which run from the window's creation, also while a
    // command of the start-up dialogue waits for its reply.
    double nextMain = origin + Monitor::MainTimerMs;
    double nextGps = origin + Monitor::GpsTimerMs;
    double nextRead = origin + options.readEveryMs;
    std::uint64_t framesSeen = 0;
    double lastFrameMs = origin, longestGapMs = 0;
    auto runDue = [&] {
        const double now = clock.tickCount();
        if (nextRead <= now) {
            adapterPort.pump();
            if (const auto frames = monitor.framesDecoded(); frames != framesSeen) {
                framesSeen = frames;
                lastFrameMs = now;
            }
            longestGapMs = std::max(longestGapMs, now - lastFrameMs);
            while (nextRead <= now)
                nextRead += options.readEveryMs;
        }
        if (nextMain <= now) {
            while (nextMain <= now) // a late timer fires once, as Qt's does
                nextMain += Monitor::MainTimerMs;
            monitor.onMainTimer();
            if (base.empty()) // the log set opens at the first tick of the run
                base = monitor.logs().fileBase();
        }
        if (nextGps <= now) {
            while (nextGps <= now)
                nextGps += Monitor::GpsTimerMs;
            gpsPort.hold(receiver.sentencesUntil(now - origin, options.start));
            monitor.onGpsTimer();
        }
    };
    pump.setEvents(runDue);
    auto runUntil = [&](double until) {
        for (;;) {
            const double next = std::min({nextMain, nextGps, nextRead});
            if (next > until)
                return;
            clock.advance(std::max(0.0, next - clock.tickCount()));
            runDue();
        }
    };
    monitor.startAcquisition();
    if (!monitor.isRunning())
        throw std::runtime_error("the simulated adapter did not start");
    const std::uint64_t framesAtStart = monitor.framesDecoded();
    const int fullAtStart = bufferFullReports(adapterPort);
    lastFrameMs = clock.tickCount();
    longestGapMs = 0;
    runUntil(clock.tickCount() + options.seconds * 1000);
    if (stats) {
        stats->seconds = options.seconds;
        stats->framesDecoded = monitor.framesDecoded() - framesAtStart;
        stats->longestGapMs = longestGapMs;
        stats->bufferFullReports = bufferFullReports(adapterPort) - fullAtStart;
    }
    monitor.stopAcquisition();
    monitor.saveTrips();
    return base;
}

} // namespace vcm
