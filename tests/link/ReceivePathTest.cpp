// The receive event: reply recognition, adapter reports, what the decoder is handed,
// the activity blink and the auxiliary port's lines.
#include "LinkRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

struct Elm327ReplyCase {
    const char* name;
    std::string lastCommand;
    std::int16_t before;
    std::string chunk;
    std::int16_t after;
    std::string decoded; // what the decoder is handed
};

class Elm327Recognition : public ::testing::TestWithParam<Elm327ReplyCase> {};

TEST_P(Elm327Recognition, ReplyStateAndDecoderInput)
{
    const auto& c = GetParam();
    LinkRig rig(true);
    rig.link.LastCommand = c.lastCommand;
    rig.link.ReplyState = c.before;

    rig.adapterPort.receive(c.chunk);

    EXPECT_EQ(rig.link.ReplyState, c.after);
    ASSERT_EQ(rig.decoded.size(), 1u) << "the decoder is called on every chunk";
    EXPECT_EQ(rig.decoded[0], c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, Elm327Recognition,
    ::testing::Values(
        Elm327ReplyCase{"PromptAnswersAt", "ATSP6", 0, "OK\r\n\r\n>", 1, ""},
        Elm327ReplyCase{"QuestionFailsAt", "ATXX", 0, "?\r\n\r\n>", 2, ""},
        Elm327ReplyCase{"PartialReplyKeepsWaiting", "ATZ", 0, "ATZ\r\r\rELM3", 0, "ATZ\r\r\rELM3"},
        Elm327ReplyCase{"PromptWhenNothingAwaited", "ATMA", 1, "3CA 00 00 >", 1, "3CA 00 00 >"},
        Elm327ReplyCase{"PromptAfterNonAtCommand", "t7E2", 0, ">", 0, ">"},
        Elm327ReplyCase{"PromptAnswersTheStop", "  ", 0, "STOPPED\r\n\r\n>", 1, ""},
        Elm327ReplyCase{"MonitorLinesPassThrough", "ATMA", 1, "0B4 00 00 00 00 13 88 5C\r\n",
                        1, "0B4 00 00 00 00 13 88 5C\r\n"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReceivePath, Elm327OverflowReportSetsAndClearsTheErrorFlag)
{
    LinkRig rig(true);
    rig.link.ReplyState = 1;
    const struct {
        const char* chunk;
        bool flag;
    } steps[] = {
        {"3CA 00 00 00 00 00\r\n", false},
        {"BUFFER FULL\r\n\r\n>", true},
        {"3CA 00 00 00 00 00\r\n", false},
        {"CAN ERROR\r\n", true},
        {"0B4 00 00 00 00 13 88 5C\r\n", false},
        {"BUFFER FU", false}, // a report split over two reads is seen when it completes
        {"LL\r\n>", true},
        {"3CA 00 00 00 00 00\r\n", false},
        {"CAN E", false}, // split in reads shorter than the word itself
        {"R", false},
        {"R", false},
        {"OR\r\n", true},
        {"F", false},
        {"UL", false},
        {"L", true},
        {"0B4 00 00 00 00 13 88 5C\r\n", false}, // the report is not seen a second time
        {"3CA FU 00 00 00 00\r\n", false}, // garbled frames are not errors
        {"LL 00\r\n", false},
    };
    for (const auto& s : steps) {
        rig.adapterPort.receive(s.chunk);
        EXPECT_EQ(rig.link.AdapterErrorSeen, s.flag) << s.chunk;
    }
}

TEST(ReceivePath, CanUsbHandsEveryChunkToTheDecoder)
{
    LinkRig rig(false);
    rig.link.ReplyState = 1;
    // A frame split anywhere by the serial reads, then the next frame's start.
    const std::vector<std::string> chunks{"t3CA5000", "0000000", "\r", "t0B4", "7000000001388\rt03"};
    for (const auto& c : chunks)
        rig.adapterPort.receive(c);
    EXPECT_EQ(rig.decodedText(), "t3CA50000000000\rt0B47000000001388\rt03");
    EXPECT_EQ(rig.decoded.size(), chunks.size());
}

TEST(ReceivePath, CanUsbReplyRecognition)
{
    const struct {
        const char* name;
        std::int16_t before;
        const char* chunk;
        std::int16_t after;
    } cases[] = {
        {"acknowledgement", 0, "\r", 1},
        {"version", 0, "V1011\r", 1},
        {"cr while nothing awaited", 2, "t3CA50000000000\r", 1},
        {"error bell", 0, "\a", 2},
        {"bell when nothing awaited", 1, "\a", 1},
        {"frame start without cr", 0, "t3CA5000", 0},
    };
    for (const auto& c : cases) {
        LinkRig rig(false);
        rig.link.ReplyState = c.before;
        rig.adapterPort.receive(c.chunk);
        EXPECT_EQ(rig.link.ReplyState, c.after) << c.name;
    }
}

TEST(ReceivePath, LampAndLowFuelFigureBlinkEveryEleventhChunk)
{
    LinkRig rig(false);
    rig.link.ReplyState = 1;
    rig.view.props("CommStatus", 0).back = colors::LampDark;
    rig.view.props("TankValue").fore = colors::White;
    rig.vehicle.FuelTankLevel = 10;

    std::vector<Color> tank, lamp;
    for (int i = 1; i <= 44; ++i) {
        rig.adapterPort.receive("t3CA50000000000\r");
        if (i % 11 == 10 || i % 11 == 0) {
            tank.push_back(rig.view.foreColor({"TankValue"}));
            lamp.push_back(rig.view.backColor({"CommStatus", 0}));
        }
    }
    EXPECT_EQ(tank, (std::vector<Color>{colors::White, colors::Red, colors::Red, colors::White, colors::White,
                                        colors::Red, colors::Red, colors::White}));
    EXPECT_EQ(lamp, (std::vector<Color>{colors::LampDark, colors::LightGrey, colors::LightGrey, colors::LampDark,
                                        colors::LampDark, colors::LightGrey, colors::LightGrey, colors::LampDark}));

    // Refuelled while the figure is red: it turns white once and stays white.
    for (int i = 0; i < 11; ++i)
        rig.adapterPort.receive("t3CA50000000000\r");
    ASSERT_EQ(rig.view.foreColor({"TankValue"}), colors::Red);
    rig.vehicle.FuelTankLevel = 15;
    for (int i = 0; i < 33; ++i) {
        rig.adapterPort.receive("t3CA50000000000\r");
        EXPECT_EQ(rig.view.foreColor({"TankValue"}), i < 10 ? colors::Red : colors::White) << i;
    }
}

TEST(ReceivePath, SerialErrorDropsWhatArrived)
{
    LinkRig rig(true);
    rig.adapterPort.open(3, "500000,N,8,1");
    const int before = rig.adapterPort.discards;
    rig.adapterPort.raise(PortError::Overrun);
    EXPECT_EQ(rig.adapterPort.discards, before + 1);
    EXPECT_TRUE(rig.decoded.empty());
}

TEST(ReceivePath, AuxPortGivesFourNumbersPerLine)
{
    const struct {
        const char* name;
        bool metric;
        std::vector<std::string> chunks;
        std::array<std::int32_t, 4> values;
    } cases[] = {
        {"metric", true, {"120,80,5,3\r\n"}, {120, 80, 5, 3}},
        {"split over reads", true, {"12", "0,80,", "5,3\r", "\n"}, {120, 80, 5, 3}},
        {"halves to even", true, {"2.5,3.5,-0.5,7\r\n"}, {2, 4, 0, 7}},
        // 161 km -> 100 mi; 38 L -> 10 US gal (10.04 rounded)
        {"US units", false, {"1,161,38,4\r\n"}, {1, 100, 10, 4}},
        {"three fields dropped", true, {"1,2,3\r\n"}, {0, 0, 0, 0}},
        {"non-number keeps old", true, {"1,2,3,4\r\n", "9,x,,8\r\n"}, {9, 2, 3, 8}},
        {"two lines in one read", true, {"1,2,3,4\r\n5,6,7,8\r\n"}, {5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        LinkRig rig(false);
        rig.settings.MetricUnits = c.metric;
        for (const auto& chunk : c.chunks)
            rig.auxPort.receive(chunk);
        EXPECT_EQ(rig.receive.auxValues(), c.values) << c.name;
    }
}

} // namespace
} // namespace vcm::test
