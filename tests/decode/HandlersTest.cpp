// Every identifier's handler, fed the adapter text of both forms.
#include "DecoderFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vcm::test {
namespace {

struct HandlerCase {
    const char* frame;   // "ID b1 b2 ..."
    bool metric;
    bool celsius;
    std::function<void(const VehicleState&, const RecordingSink&)> check;
};

const std::vector<HandlerCase>& handlerCases()
{
    using V = const VehicleState&;
    using S = const RecordingSink&;
    static const std::vector<HandlerCase> cases = {
        // 025: s12(0F,9C) = -100, reference s12(00,0A) = 10
        {"025 0F 9C 00 0A 00 00 00 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.SteeringAngle, -110);
             EXPECT_EQ(s.events, std::vector<std::string>{"VolantValue=-11.0"});
         }},
        {"030 00 00 00 00 64 00 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.BrakePedal, 100);
             EXPECT_TRUE(s.events.empty());
         }},
        {"038 00 7B", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.FuelRateLh, 12.3);
             EXPECT_EQ(s.events, std::vector<std::string>{"LitrehValue=12.3"});
         }},
        {"039 F6 00 32 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.EngineTorque, 100);
             EXPECT_EQ(v.EngineTempRaw, -10);
             EXPECT_EQ(s.events, std::vector<std::string>{"TemperThValue=-10"});
         }},
        {"03A 01 F0", true, true, [](V v, S s) {
             EXPECT_EQ(v.Mg1Voltage, -16);
             EXPECT_EQ(s.events, std::vector<std::string>{"vMg1Value=-16"});
         }},
        {"03A 00 F0", true, true, [](V v, S s) {
             EXPECT_EQ(v.Mg1Voltage, 240);
             EXPECT_EQ(s.caption(DecoderLabel::vMg1Value), "240");
         }},
        // s12(0F,F5) = -11, negated: 1.1 A charging; 00 D2 = 210 V
        {"03B 0F F5 00 D2 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.BatteryCurrent, 11);
             EXPECT_EQ(v.BatteryVoltage, 210);
             EXPECT_EQ(s.events, std::vector<std::string>{"ShowCurrentGauge"});
         }},
        // 1F 40 = 8000 -> 80.00 km/h
        {"0B4 00 00 00 00 00 1F 40 00", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.SpeedKmh, 80.0);
             EXPECT_DOUBLE_EQ(v.SpeedDisplay, 80.0);
             EXPECT_TRUE(s.events.empty());
         }},
        {"0B4 00 00 00 00 00 1F 40 00", false, true, [](V v, S) {
             EXPECT_DOUBLE_EQ(v.SpeedKmh, 80.0);
             EXPECT_DOUBLE_EQ(v.SpeedDisplay, 50.0); // 49.71 mph, whole
         }},
        {"244 00 00 00 00 00 00 08 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.AccelPedal, 8);
             EXPECT_EQ(s.events, std::vector<std::string>{"ShowAccelGauge"});
         }},
        {"244 00 00 00 00 00 00 80 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.AccelPedal, 128);
             EXPECT_TRUE(s.events.empty()); // drawn by the main tick
         }},
        {"348 00 00 00 19", true, true, [](V v, S) { EXPECT_EQ(v.Pid348Value, 2); }},   // 2.5 -> even
        {"348 00 00 00 23", true, true, [](V v, S) { EXPECT_EQ(v.Pid348Value, 4); }},   // 3.5 -> even
        {"348 00 00 FF FF", true, true, [](V v, S) { EXPECT_EQ(v.Pid348Value, 6554); }},
        {"3C8 00 00 32 00 00", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.EngineRpm, 1600);
             EXPECT_DOUBLE_EQ(v.InstantConsumption, 99.9); // standing, engine running
             EXPECT_EQ(s.events, (std::vector<std::string>{"ShowEngineGauge", "ShowConsumption"}));
         }},
        {"3CA 00 00 00 00 00", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.LastFuelTick, 1000);
             EXPECT_DOUBLE_EQ(v.LastDistanceTick, 1000);
             EXPECT_TRUE(s.events.empty());
         }},
        // 5A = 90 half-percent -> 450 tenths; 1A = 26 degrees
        {"3CB 3C 46 00 5A 00 1A 00", true, true, [](V v, S s) {
             EXPECT_EQ(v.StateOfCharge, 450);
             EXPECT_EQ(v.BatteryTempA, 26);
             EXPECT_EQ(s.events, (std::vector<std::string>{"MaxChrgValue=60", "MaxDchrgValue=70"}));
         }},
        {"3CB 3C 46 00 5A 00 1A 00", true, false, [](V v, S) { EXPECT_EQ(v.BatteryTempA, 79); }}, // 78.8 F
        {"3CF 00 F6 50 00", true, false, [](V v, S) { // never converted
             EXPECT_EQ(v.ExtTemp, -10);
             EXPECT_EQ(v.MgTemp, 80);
         }},
        {"520 00 01 2C 00", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.Injector, 300);
             EXPECT_EQ(s.events, std::vector<std::string>{"ShowConsumption"});
         }},
        {"526 00 39 00", true, true, [](V v, S s) {
             EXPECT_DOUBLE_EQ(v.VvtiAngle, 12.5);
             EXPECT_EQ(s.events, std::vector<std::string>{"VVtiValue=12.5"});
         }},
        {"529 00 00 00 00 40 00 00", true, true, [](V v, S) { EXPECT_TRUE(v.EvMode); }},
        {"52C 00 64", true, false, [](V v, S) { EXPECT_EQ(v.CoolantTemp, 1220); }},
        {"52C 00 FF", true, false, [](V v, S) { EXPECT_EQ(v.CoolantTemp, 2615); }},
        {"540 00 80 00", true, true, [](V v, S) { EXPECT_EQ(v.ShiftLever, "P"); }},
        {"540 00 56 00", true, true, [](V v, S) { EXPECT_EQ(v.ShiftLever, "D"); }},
        {"540 00 5D 00", true, true, [](V v, S) { EXPECT_EQ(v.ShiftLever, "B"); }},
        {"540 00 00 00", true, true, [](V v, S) { EXPECT_EQ(v.ShiftLever, "B"); }},
        {"540 00 30 00", true, true, [](V v, S) { EXPECT_EQ(v.ShiftLever, ""); }},
        {"5A4 00 15", true, true, [](V v, S s) {
             EXPECT_EQ(v.FuelTankLevel, 52); // 52.5 -> even
             EXPECT_EQ(s.events, std::vector<std::string>{"ShowTankLevel"});
         }},
        {"5EC 00 00 00 00 00 C8 00", true, true, [](V, S s) {
             EXPECT_EQ(s.events, std::vector<std::string>{"TempMg2Value=200"});
         }},
    };
    return cases;
}

TEST(Handlers, EachIdentifierInBothAdapterForms)
{
    for (bool elm : {true, false}) {
        for (const auto& c : handlerCases()) {
            SCOPED_TRACE(std::string(elm ? "ELM327 " : "CANUSB ") + c.frame + (c.metric ? "" : " US") +
                         (c.celsius ? "" : " F"));
            DecoderRig rig(elm, c.metric, c.celsius);
            rig.frame(c.frame);
            EXPECT_EQ(rig.decoder.framesDecoded(), 1u);
            EXPECT_EQ(rig.state.LastFrameTime, rig.clock.now());
            c.check(rig.state, rig.sink);
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

// ELM327 data tokens that are not bytes ("<DATA ERROR", a trailing space).
TEST(Handlers, InvalidElmBytesStopOrSkipAsEachHandlerDefines)
{
    DecoderRig rig(true);
    rig.decoder.decodeFrames("038 00 7B\r\n038 00 <DATA ERROR\r\n"); // label written again with the old value
    EXPECT_DOUBLE_EQ(rig.state.FuelRateLh, 12.3);
    rig.decoder.decodeFrames("5A4 00 ZZ\r\n"); // tank shown all the same
    EXPECT_EQ(rig.sink.count("ShowTankLevel"), 1);
    rig.decoder.decodeFrames("03B 0F F5 00 XX 00\r\n"); // stops: nothing stored
    EXPECT_EQ(rig.state.BatteryCurrent, 0);
    EXPECT_EQ(rig.sink.count("ShowCurrentGauge"), 0);
    rig.decoder.decodeFrames("3CF 00 F6 ?? 00\r\n"); // byte 3 skipped, byte 2 still read
    EXPECT_EQ(rig.state.ExtTemp, -10);
    rig.decoder.decodeFrames("529 00 00 00 00 40 \r\n"); // trailing space: an empty sixth token
    EXPECT_TRUE(rig.state.EvMode);
    rig.decoder.decodeFrames("529 00 00 00 00 \r\n"); // byte 5 empty -> not "40"
    EXPECT_FALSE(rig.state.EvMode);
    rig.decoder.decodeFrames("039 F6 00 <RX\r\n"); // torque skipped, temperature read
    EXPECT_EQ(rig.state.EngineTempRaw, -10);
    EXPECT_EQ(rig.state.EngineTorque, 0);
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
        EXPECT_DOUBLE_EQ(rig.state.SpeedKmh, 80.0);
        EXPECT_DOUBLE_EQ(rig.state.SpeedDisplay, 80.0);

        rig.frame("03B 00 10 00 D2 00");
        rig.frame("03B 00 20 FF 00 00");
        EXPECT_EQ(rig.state.BatteryCurrent, -32);
        EXPECT_EQ(rig.state.BatteryVoltage, 210);
        EXPECT_EQ(rig.sink.count("ShowCurrentGauge"), 2);

        rig.frame("3CB 3C 46 00 5A 00 1A 00");
        rig.frame("3CB 3D 47 19 9A 00 1B 00"); // 0x199A x 5 = 32770
        EXPECT_EQ(rig.state.StateOfCharge, 450);
        EXPECT_EQ(rig.state.BatteryTempA, 27);
        EXPECT_EQ(rig.sink.caption(DecoderLabel::MaxChrgValue), "61");
        rig.frame("3CB 3D 47 19 99 00 1B 00"); // 32765 still fits
        EXPECT_EQ(rig.state.StateOfCharge, 32765);
    }
}

TEST(Handlers, CaptionsAreWrittenWhenTheirTextChangesAndAgainAfterResend)
{
    DecoderRig rig(false, true, true, ',');
    rig.frame("038 00 7B");
    rig.frame("038 00 7B");
    rig.frame("038 00 7C");
    rig.frame("526 00 39");
    rig.frame("526 00 39");
    EXPECT_EQ(rig.sink.events, (std::vector<std::string>{"LitrehValue=12,3", "LitrehValue=12,4", "VVtiValue=12,5"}));
    rig.decoder.resendCaptions();
    rig.frame("038 00 7C");
    EXPECT_EQ(rig.sink.events.back(), "LitrehValue=12,4");
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
