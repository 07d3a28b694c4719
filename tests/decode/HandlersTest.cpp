// Every identifier's handler, fed the adapter text of both forms.
#include "DecoderRig.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vcm::test {
namespace {

// One row per frame: "ID b1 b2 ...", units ('M' metric and Celsius, 'U' US units, 'F'
// Fahrenheit), the fields read back with their values, and the dashboard calls made.
#define FIELD(f) [](const VehicleState& v) { return double(v.f); }
struct HandlerCase {
    const char* frame;
    char units;
    std::vector<std::pair<double (*)(const VehicleState&), double>> fields;
    std::vector<std::string> events;
};

const HandlerCase kHandlerCases[] = {
    {"025 0F 9C 00 0A 00 00 00 00", 'M', {{FIELD(SteeringAngle), -110}}, {"SteeringAngle=-11.0"}}, // s12 -100, reference 10
    {"030 00 00 00 00 64 00 00", 'M', {{FIELD(BrakePedal), 100}}, {}},
    {"038 00 7B", 'M', {{FIELD(FuelRateLh), 12.3}}, {"FuelFlow=12.3"}},
    {"039 F6 00 32 00", 'M', {{FIELD(EngineTorque), 100}, {FIELD(EngineTempRaw), -10}}, {"EngineTemperature=-10"}},
    {"03A 01 F0", 'M', {{FIELD(Mg1Voltage), -16}}, {"Mg1Voltage=-16"}},
    {"03A 00 F0", 'M', {{FIELD(Mg1Voltage), 240}}, {"Mg1Voltage=240"}},
    {"03B 0F F5 00 D2 00", 'M', {{FIELD(BatteryCurrent), 11}, {FIELD(BatteryVoltage), 210}}, // s12 -11 negated: charging
     {"ShowCurrentGauge"}},
    {"0B4 00 00 00 00 00 1F 40 00", 'M', {{FIELD(SpeedKmh), 80}, {FIELD(SpeedDisplay), 80}}, {}},
    {"0B4 00 00 00 00 00 1F 40 00", 'U', {{FIELD(SpeedKmh), 80}, {FIELD(SpeedDisplay), 50}}, {}}, // 49.71 mph, whole
    {"244 00 00 00 00 00 00 08 00", 'M', {{FIELD(AccelPedal), 8}}, {"ShowAccelGauge"}},
    {"244 00 00 00 00 00 00 80 00", 'M', {{FIELD(AccelPedal), 128}}, {}}, // drawn by the main tick
    {"348 00 00 00 19", 'M', {{FIELD(Pid348Value), 2}}, {}}, // 2.5 -> even
    {"348 00 00 00 23", 'M', {{FIELD(Pid348Value), 4}}, {}}, // 3.5 -> even
    {"348 00 00 FF FF", 'M', {{FIELD(Pid348Value), 6554}}, {}},
    {"3C8 00 00 32 00 00", 'M', {{FIELD(EngineRpm), 1600}, {FIELD(InstantConsumption), 99.9}}, // 99.9 standing
     {"ShowEngineGauge", "ShowConsumption"}},
    {"3CA 00 00 00 00 00", 'M', {{FIELD(LastFuelTick), 1000}, {FIELD(LastDistanceTick), 1000}}, {}},
    {"3CB 3C 46 00 5A 00 1A 00", 'M', {{FIELD(StateOfCharge), 450}, {FIELD(BatteryTempA), 26}}, // 90 halves
     {"ChargeLimit=60", "DischargeLimit=70"}},
    {"3CB 3C 46 00 5A 00 1A 00", 'F', {{FIELD(BatteryTempA), 79}}, {"ChargeLimit=60", "DischargeLimit=70"}}, // 78.8 F
    {"3CF 00 F6 50 00", 'F', {{FIELD(ExtTemp), -10}, {FIELD(MgTemp), 80}}, {}}, // never converted
    {"520 00 01 2C 00", 'M', {{FIELD(Injector), 300}}, {"ShowConsumption"}},
    {"526 00 39 00", 'M', {{FIELD(VvtiAngle), 12.5}}, {"ValveTiming=12.5"}},
    {"529 00 00 00 00 40 00 00", 'M', {{FIELD(EvMode), 1}}, {}},
    {"52C 00 FF", 'F', {{FIELD(CoolantTemp), 2615}}, {}},
    {"540 00 80 00", 'M', {{[](const VehicleState& v) { return double(v.ShiftLever == "P"); }, 1}}, {}},
    {"540 00 56 00", 'M', {{[](const VehicleState& v) { return double(v.ShiftLever == "D"); }, 1}}, {}},
    {"540 00 5D 00", 'M', {{[](const VehicleState& v) { return double(v.ShiftLever == "B"); }, 1}}, {}},
    {"540 00 00 00", 'M', {{[](const VehicleState& v) { return double(v.ShiftLever == "B"); }, 1}}, {}},
    {"540 00 30 00", 'M', {{[](const VehicleState& v) { return double(v.ShiftLever.empty()); }, 1}}, {}},
    {"5A4 00 15", 'M', {{FIELD(FuelTankLevel), 52}}, {"ShowTankLevel"}}, // 52.5 -> even
    {"5EC 00 00 00 00 00 C8 00", 'M', {}, {"Mg2Temperature=200"}},
};
#undef FIELD

TEST(Handlers, EachIdentifierInBothAdapterForms)
{
    for (bool elm : {true, false}) {
        for (const auto& c : kHandlerCases) {
            SCOPED_TRACE(std::string(elm ? "ELM327 " : "CANUSB ") + c.frame + " " + c.units);
            DecoderRig rig(elm, c.units != 'U', c.units != 'F');
            rig.frame(c.frame);
            EXPECT_EQ(rig.decoder.framesDecoded(), 1u);
            EXPECT_EQ(rig.state.LastFrameTime, rig.clock.now());
            for (const auto& [field, value] : c.fields) EXPECT_DOUBLE_EQ(field(rig.state), value);
            EXPECT_EQ(rig.sink.events, c.events);
        }
    }
}

// A line too short for its handler changes nothing and shows nothing, except that 520
// and 526 clear their value on arrival.
TEST(Handlers, ShortFramesAreIgnored)
{
    const char* shortFrames[] = {"025 00 64 00", "030 00 00 00 64", "038 00", "039 F6 00", "03A 01",
                                 "03B 0F F5 00", "0B4 00 00 00 00 00 1F", "244 00 00 00 00 00 08",
                                 "348 00 00 01", "3C8 00 32", "3CA 00 00", "3CB 3C 46 00 5A 00",
                                 "3CF 00 F6", "529 00 00 00 40", "52C", "540", "5A4 15", "5EC 00 00 00 00 C8"};
    for (bool elm : {true, false}) {
        for (const char* f : shortFrames) {
            SCOPED_TRACE(std::string(elm ? "ELM327 " : "CANUSB ") + f);
            DecoderRig rig(elm);
            rig.state.ShiftLever = "D";
            rig.state.LastFuelTick = 5;
            rig.state.EvMode = true;
            rig.frame(f);
            const VehicleState& v = rig.state;
            EXPECT_TRUE(rig.sink.events.empty());
            EXPECT_EQ((std::vector<double>{double(v.SteeringAngle), double(v.BrakePedal), double(v.EngineTempRaw),
                                           double(v.BatteryCurrent), double(v.AccelPedal), double(v.Pid348Value),
                                           double(v.StateOfCharge), double(v.ExtTemp), double(v.CoolantTemp),
                                           double(v.FuelTankLevel), v.FuelRateLh, v.SpeedKmh, v.EngineRpm}),
                      std::vector<double>(13, 0.0));
            EXPECT_TRUE(v.LastFuelTick == 5 && v.EvMode && v.ShiftLever == "D");
        }
    }
}

TEST(Handlers, InjectorAndValveTimingAreClearedByAnyFrameOfTheirIdentifier)
{
    for (bool elm : {true, false}) {
        DecoderRig rig(elm);
        rig.state.Injector = 300;
        rig.state.VvtiAngle = 12.5;
        rig.frame("520 00 01");
        EXPECT_EQ(rig.state.Injector, 0);
        rig.frame("526 00"); // one byte: a frame for the ELM327 only
        EXPECT_EQ(rig.state.VvtiAngle, elm ? 0 : 12.5);
        EXPECT_TRUE(rig.sink.events.empty());
    }
}

// ELM327 data tokens that are not bytes (garbled digits, a trailing space).
TEST(Handlers, InvalidElmBytesStopOrSkipAsEachHandlerDefines)
{
    DecoderRig rig(true);
    rig.decoder.decodeFrames("038 00 7B\r\n038 00 ?? 00\r\n"); // label written again with the old value
    EXPECT_DOUBLE_EQ(rig.state.FuelRateLh, 12.3);
    rig.decoder.decodeFrames("5A4 00 ZZ\r\n"); // tank shown all the same
    EXPECT_EQ(rig.sink.count("ShowTankLevel"), 1);
    rig.decoder.decodeFrames("03B 0F F5 00 XX 00\r\n"); // stops: nothing stored
    EXPECT_EQ(std::tuple(rig.state.BatteryCurrent, rig.sink.count("ShowCurrentGauge")), std::tuple(0, 0));
    rig.decoder.decodeFrames("3CF 00 F6 ?? 00\r\n"); // byte 3 skipped, byte 2 still read
    EXPECT_EQ(rig.state.ExtTemp, -10);
    rig.decoder.decodeFrames("529 00 00 00 00 40 \r\n"); // trailing space: an empty sixth token
    EXPECT_TRUE(rig.state.EvMode);
    rig.decoder.decodeFrames("529 00 00 00 00 \r\n"); // byte 5 empty -> not "40"
    EXPECT_FALSE(rig.state.EvMode);
    rig.decoder.decodeFrames("039 F6 00 X\r\n"); // torque skipped, temperature read
    EXPECT_EQ(std::tuple(rig.state.EngineTempRaw, rig.state.EngineTorque), std::tuple(-10, 0.0));
}

// The steering reference (bytes 3-4) holds for the rest of one call, not beyond.
TEST(Handlers, SteeringReferenceLastsOneCall)
{
    DecoderRig rig(true);
    rig.decoder.decodeFrames("025 00 64 00 0A 00 00 00 00\r\n025 00 64 XX XX 00 00 00 00\r\n");
    EXPECT_EQ(rig.state.SteeringAngle, 90);
    rig.decoder.decodeFrames("025 00 64 XX XX 00 00 00 00\r\n");
    EXPECT_EQ(rig.state.SteeringAngle, 100);
}

// Values beyond their 16-bit field are not stored; the rest of the frame still counts.
TEST(Handlers, SixteenBitOverflowsKeepTheLastValue)
{
    for (bool elm : {true, false}) {
        DecoderRig rig(elm);
        rig.frame("0B4 00 00 00 00 00 1F 40 00");
        rig.frame("0B4 00 00 00 00 00 80 00 00");
        EXPECT_EQ(std::tuple(rig.state.SpeedKmh, rig.state.SpeedDisplay), std::tuple(80.0, 80.0));

        rig.frame("03B 00 10 00 D2 00");
        rig.frame("03B 00 20 FF 00 00");
        EXPECT_EQ(std::tuple(rig.state.BatteryCurrent, rig.state.BatteryVoltage, rig.sink.count("ShowCurrentGauge")),
                  std::tuple(-32, 210, 2));

        rig.frame("3CB 3C 46 00 5A 00 1A 00");
        rig.frame("3CB 3D 47 19 9A 00 1B 00"); // 0x199A x 5 = 32770
        EXPECT_EQ(std::tuple(rig.state.StateOfCharge, rig.state.BatteryTempA, rig.sink.count("ChargeLimit=61")),
                  std::tuple(450, 27, 1));
        rig.frame("3CB 3D 47 19 99 00 1B 00"); // 32765 still fits
        EXPECT_EQ(rig.state.StateOfCharge, 32765);
    }
}

// Moving while a 520 arrives ends the EV mode; standing does not.
TEST(Handlers, InjectorFrameClearsEvModeOnlyWhileMoving)
{
    DecoderRig rig;
    rig.frame("529 00 00 00 00 40");
    rig.frame("520 00 01 2C");
    EXPECT_TRUE(rig.state.EvMode);
    rig.frame("0B4 00 00 00 00 00 03 E8 00");
    rig.frame("520 00 01 2C");
    EXPECT_FALSE(rig.state.EvMode);
}

} // namespace
} // namespace vcm::test
