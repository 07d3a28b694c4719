// The simulated drive through the real frame decoder: what the dashboard would show
// must match what the car did, for both adapters, over a couple of minutes of driving.
#include "SimHost.h"

#include "decode/FrameDecoder.h"
#include "sources/sim/DriveBus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <regex>
#include <set>

using namespace vcm::sim;
using namespace vcm::sim::test;

namespace {

struct Session {
    explicit Session(bool elm, std::uint64_t seed)
        : host(makeVirtualAdapter({elm ? AdapterModel::Elm327 : AdapterModel::CanUsb, seed, ""})),
          decoder(state, settings, host.clock, sink)
    {
        settings.UseElm327 = elm;
        settings.MetricUnits = true;
        settings.Celsius = true;
        startAdapter(host, elm);
        if (elm) host.port->write("ATMA\r");
        vcm::resetTrip(state, host.clock.tickCount());
        startKm = model().state().distanceKm;
        startFuel = model().state().fuelUsedLitres;
    }
    const DriveModel& model() { return dynamic_cast<DriveBus&>(host.port->adapter().bus()).model(); }

    // Runs for ms, reading every 5 ms as a receive event would, and polling record C3
    // every 100 ms on the CANUSB as the main tick does.
    void drive(double ms)
    {
        for (double t = 0; t < ms; t += 5) {
            host.clock.advance(5);
            host.port->pump();
            decoder.decodeFrames(host.port->readAll());
            recent.push_back(model().state());
            if (recent.size() > 300) recent.pop_front();
            if (!settings.UseElm327 && std::fmod(host.clock.tickCount(), 100) == 0)
                host.port->write(pollStep++ % 2 == 0 ? "t7E280221C30000000000\r" : "t7E283000000000000000\r");
        }
    }

    SimHost host;
    vcm::VehicleState state;
    vcm::MonitorSettings settings;
    vcm::NullDecoderSink sink;
    vcm::FrameDecoder decoder;
    double startKm = 0, startFuel = 0;
    int pollStep = 0;
    std::deque<DriveSnapshot> recent; // the car every 5 ms, newest last

    // True when the decoded value is, within tol, one the car had in the last windowMs:
    // a frame carries the car's value of the moment it was sent, up to one period ago.
    template <class Of>
    bool hadRecently(double decoded, Of of, double windowMs, double tol) const
    {
        const double since = recent.back().timeMs - windowMs;
        double lo = 1e300, hi = -1e300;
        for (auto it = recent.rbegin(); it != recent.rend() && it->timeMs >= since; ++it) {
            lo = std::min(lo, of(*it));
            hi = std::max(hi, of(*it));
        }
        return decoded >= lo - tol && decoded <= hi + tol;
    }
};

} // namespace

class DriveDecodes : public ::testing::TestWithParam<bool> {};

TEST_P(DriveDecodes, DashboardValuesFollowTheCar)
{
    const bool elm = GetParam();
    Session s(elm, 11);
    std::set<std::string> levers;
    bool sawStop = false, sawFast = false, sawEngineOn = false, sawEngineOff = false, sawEv = false, sawRegen = false,
         sawDischarge = false;
    int evSecondsShown = 0, evSecondsCar = 0;

    for (int second = 0; second < 150; ++second) {
        s.drive(1000);
        const auto& v = s.state;
        SCOPED_TRACE("after " + std::to_string(second + 1) + " s");
        // Each value is one the car had within its identifier's period (plus the time
        // on the wire), to the resolution of its encoding.
        EXPECT_TRUE(s.hadRecently(v.SpeedKmh, [](auto& c) { return c.speedKmh; }, 30, 0.01)) << v.SpeedKmh;
        EXPECT_TRUE(s.hadRecently(v.EngineRpm, [](auto& c) { return c.engineRpm; }, 90, 16)) << v.EngineRpm;
        EXPECT_TRUE(s.hadRecently(v.BatteryCurrent / 10.0, [](auto& c) { return c.batteryCurrentA; }, 25, 0.05))
            << v.BatteryCurrent;
        EXPECT_TRUE(s.hadRecently(v.BatteryVoltage, [](auto& c) { return c.batteryVoltage; }, 25, 0.5)) << v.BatteryVoltage;
        EXPECT_TRUE(s.hadRecently(v.StateOfCharge / 10.0, [](auto& c) { return c.stateOfChargePct; }, 130, 0.25))
            << v.StateOfCharge;
        EXPECT_TRUE(s.hadRecently(v.BrakePedal / 127.0, [](auto& c) { return c.brakePedal; }, 25, 0.005)) << v.BrakePedal;
        // The EV flag is sent when it changes; a 520 frame while moving clears it on the
        // dashboard until the next 529, so only a shown flag must be the car's.
        EXPECT_TRUE(!v.EvMode || s.hadRecently(1, [](auto& c) { return c.evMode ? 1.0 : 0.0; }, 30, 0));
        evSecondsShown += v.EvMode;
        evSecondsCar += s.recent.back().evMode;
        EXPECT_TRUE(s.hadRecently(v.ExtTemp, [](auto& c) { return c.outsideTempC; }, 160, 0.5)) << v.ExtTemp;
        if (second >= 4) { // the slowest identifiers have all come by now
            EXPECT_TRUE(s.hadRecently(v.CoolantTemp / 10.0, [](auto& c) { return c.coolantC; }, 1100, 0.25)) << v.CoolantTemp;
            EXPECT_TRUE(s.hadRecently(v.FuelTankLevel, [](auto& c) { return c.fuelTankLitres / 45 * 100; }, 1500, 1.5))
                << v.FuelTankLevel;
        }

        levers.insert(v.ShiftLever);
        sawStop |= v.SpeedKmh == 0 && second > 10;
        sawFast |= v.SpeedKmh > 60;
        sawEngineOn |= v.EngineRpm > 0;
        sawEngineOff |= v.EngineRpm == 0 && v.SpeedKmh > 10;
        sawEv |= v.EvMode;
        sawRegen |= v.BatteryCurrent > 100;
        sawDischarge |= v.BatteryCurrent < -100;
    }
    EXPECT_GT(evSecondsShown, evSecondsCar / 2);
    EXPECT_TRUE(sawStop && sawFast && sawEngineOn && sawEngineOff && sawEv && sawRegen && sawDischarge)
        << sawStop << sawFast << sawEngineOn << sawEngineOff << sawEv << sawRegen << sawDischarge;
    EXPECT_TRUE(levers.count("P") && levers.count("D")) << "the drive starts in P and drives in D";

    // The dashboard's trip integrators against the car's own.
    const auto& car = s.model().state();
    const double km = s.state.DistanceAccumulator / 3.6e6;
    const double litres = s.state.FuelAccumulator / 1.296e12;
    EXPECT_GT(car.distanceKm - s.startKm, 1.0);
    EXPECT_NEAR(km, car.distanceKm - s.startKm, 0.01 * (car.distanceKm - s.startKm) + 0.005);
    // The injector quantity comes only every 2.2 s and on engine start/stop, so the
    // dashboard's fuel integral is coarser than the car's.
    EXPECT_NEAR(litres, car.fuelUsedLitres - s.startFuel, 0.25 * (car.fuelUsedLitres - s.startFuel));

    EXPECT_EQ(s.decoder.framesOf(0x123), 0u);
    EXPECT_GT(s.decoder.framesDecoded(), 150u * 1400);
    if (!elm) {
        EXPECT_EQ(s.state.DiagReplyKind, "C3");
        // Four values in the head, 35 in the body (after a leading ';').
        EXPECT_TRUE(std::regex_match(s.state.C3Head, std::regex(R"(\d+(;\d+){3})"))) << s.state.C3Head;
        EXPECT_TRUE(std::regex_match(s.state.C3Body, std::regex(R"((;\d+){35})"))) << s.state.C3Body;
    }
}

// Each adapter is its own case, so that the two drives can run side by side.
INSTANTIATE_TEST_SUITE_P(Adapters, DriveDecodes, ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? std::string("Elm327") : std::string("CanUsb"); });

TEST(DriveDecodes, LeverShowsEveryPositionOverALongerDrive)
{
    Session s(false, 7);
    std::set<std::string> levers;
    std::set<char> modelGears;
    for (int second = 0; second < 300; ++second) {
        s.drive(1000);
        levers.insert(s.state.ShiftLever);
        modelGears.insert(static_cast<char>(s.model().state().gear));
    }
    EXPECT_EQ(modelGears.size(), 5u) << "this drive parks, reverses and brakes in B within five minutes";
    for (char g : modelGears) EXPECT_TRUE(levers.count(std::string(1, g))) << g;
}
