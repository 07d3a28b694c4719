// The receive event: reply recognition, adapter reports, what the decoder is handed,
// the activity blink and the auxiliary port's lines. (The replies of a normal start and
// stop: AdapterControlTest; monitor lines reaching the rows: GoldenOutputTest.)
#include "LinkRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(ReceivePath, ReplyRecognitionAndDecoderInput)
{
    const struct {
        const char* name;
        bool elm327;
        std::string lastCommand;
        std::int16_t before;
        std::string chunk;
        std::int16_t after;
        std::string decoded; // what the decoder is handed
    } cases[] = {
        {"ELM327 question fails AT", true, "ATXX", 0, "?\r\n\r\n>", 2, ""},
        {"ELM327 partial reply keeps waiting", true, "ATZ", 0, "ATZ\r\r\rELM3", 0, "ATZ\r\r\rELM3"},
        {"ELM327 prompt when nothing awaited", true, "ATMA", 1, "3CA 00 00 >", 1, "3CA 00 00 >"},
        {"ELM327 prompt after non-AT command", true, "t7E2", 0, ">", 0, ">"},
        // The CANUSB hands every chunk to the decoder, frames cut anywhere included.
        {"CANUSB CR while nothing awaited", false, "", 2, "t3CA50000000000\r", 1, "t3CA50000000000\r"},
        {"CANUSB error bell", false, "", 0, "\a", 2, "\a"},
        {"CANUSB bell when nothing awaited", false, "", 1, "\a", 1, "\a"},
        {"CANUSB frame start without CR", false, "", 0, "t3CA5000", 0, "t3CA5000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig(c.elm327);
        rig.link.LastCommand = c.lastCommand;
        rig.link.ReplyState = c.before;
        rig.adapterPort.receive(c.chunk);
        EXPECT_EQ(rig.link.ReplyState, c.after);
        ASSERT_EQ(rig.decoded.size(), 1u) << "the decoder is called on every chunk";
        EXPECT_EQ(rig.decoded[0], c.decoded);
    }
}

// An ELM327 that left monitoring on a report is started again as soon as its prompt
// is read, however the reads split the text; the report is never forgotten meanwhile.
TEST(ReceivePath, Elm327ReportThenPromptRestartsMonitoringOnceWhereverTheReadsSplit)
{
    const std::pair<std::string, bool> cases[] = { // text, restarts
        {"3CA 00 00 00 00 00\r\nBUFFER FULL\r\n\r\n>", true},
        {"0B4 00 00 00 00 13 88 5C\r\nCAN ERROR\r\n\r\n>", true},
        {"3C8 00 00 32 00 00 <RX ERROR\r\n3CA 00 00 00 00 00 <DATA ERROR\r\n", false}, // damaged lines
        {"3CA 00 00 00 00 00\r\n>", false},                                             // a prompt alone
        {"3CA FU 00 00 00 00\r\nLL 00\r\n>", false},                                   // garbled frames
    };
    for (const auto& [text, restarts] : cases) {
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            SCOPED_TRACE(text.substr(0, cut) + " | " + text.substr(cut));
            LinkRig rig(true);
            rig.adapterPort.open(3, "38400,N,8,1");
            rig.link.AdapterPortOpen = 1;
            rig.link.ReplyState = reply::Answered;
            rig.link.LastCommand = "ATMA";
            rig.adapterPort.receive(text.substr(0, cut));
            const bool promptInFirst = text.substr(0, cut).find('>') != std::string::npos;
            EXPECT_EQ(rig.adapterPort.written, restarts && promptInFirst ? "ATMA\r" : "");
            rig.adapterPort.receive(text.substr(cut));
            EXPECT_EQ(rig.adapterPort.written, restarts ? "ATMA\r" : "");
            EXPECT_FALSE(rig.link.AdapterErrorSeen);
        }
    }
}

TEST(ReceivePath, Elm327ReportWithoutItsPromptIsKeptForTheTick)
{
    LinkRig rig(true); // the port closed: nothing can be sent
    for (const char* chunk : {"BUFFER F", "ULL\r\n", "\r\n", "3CA 00 00 00 00 00\r\n", "\r\n>"}) {
        rig.adapterPort.receive(chunk);
        EXPECT_EQ(rig.link.AdapterErrorSeen, std::string(chunk) != "BUFFER F") << chunk;
    }
}

TEST(ReceivePath, LampAndLowFuelFigureBlinkEveryEleventhChunk)
{
    LinkRig rig(false);
    rig.link.ReplyState = 1;
    rig.vehicle.FuelTankLevel = 10;
    const Dashboard& d = rig.dashboard.dashboard();
    auto tank = [&d] { return d.tankTone.value == Tone::Warning ? 'R' : 'W'; };

    std::string tanks, lamps; // after chunks 10, 11, 21, 22...; then refuelled while red
    for (int i = 1; i <= 88; ++i) {
        rig.vehicle.FuelTankLevel = i > 55 ? 15 : 10;
        rig.adapterPort.receive("t3CA50000000000\r");
        if (i % 11 == 10 || i % 11 == 0) {
            tanks += tank();
            lamps += d.lamp.value == Lamp::Lit ? 'L' : 'D';
        }
    }
    EXPECT_EQ(tanks, "WRRWWRRWWRRWWWWW") << "white once refuelled, and it stays white";
    EXPECT_EQ(lamps, "DLLDDLLDDLLDDLLD");
}

TEST(ReceivePath, SerialErrorDropsWhatArrived)
{
    LinkRig rig(true);
    rig.adapterPort.open(3, "500000,N,8,1");
    rig.adapterPort.raise(PortError::Overrun);
    EXPECT_EQ(rig.adapterPort.discards, 1);
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
