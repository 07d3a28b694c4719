// Assembly of the engine unit's diagnostic replies on 7EA (CANUSB).
#include "DecoderRig.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm::test {
namespace {

// The C3 reply as it arrives after the program's request, with the adapter's "z" for the
// request and the flow-control frame in between.
const std::string kC3Reply =
    "z\r"
    "t7EA8102761C30C00FF03\r"
    "z\r"
    "t7EA82101020304050607\r"
    "t7EA82208090A0B0C0D0E\r"
    "t7EA8230F101112131415\r"
    "t7EA82416171819202122\r"
    "t7EA825232425262728FF\r";
const std::string kC4Reply =
    "t7EA8101161C401020304\r"
    "t7EA821AAAAAAAAAAAAAA\r"
    "t7EA822BBBBBBBBBBBBBB\r";

// Its 35 values, from the five consecutive frames.
const std::string kC3Body = ";1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;32;33;34"
                            ";35;36;37;38;39;40;255";

TEST(DiagReply, C3ThenC4FillTheirHeadsAndBodies)
{
    DecoderRig rig;
    rig.decoder.decodeFrames(kC3Reply);
    EXPECT_EQ(std::tuple(rig.state.DiagReplyKind, rig.state.C3Head, rig.state.C3Body),
              std::tuple("C3", "12;0;255;3", kC3Body));
    EXPECT_EQ(rig.state.DiagPart[4], ";35;36;37;38;39;40;255");

    rig.decoder.decodeFrames(kC4Reply);
    EXPECT_EQ(std::tuple(rig.state.DiagReplyKind, rig.state.C4Head, rig.state.C3Body),
              std::tuple("C4", "1;2;3;4", kC3Body));
    EXPECT_EQ(rig.state.C4Body, ";170;170;170;170;170;170;170;187;187;187;187;187;187;187");
}

TEST(DiagReply, ConsecutiveFrameBeforeAnyFirstFrameFillsOnlyItsPart)
{
    DecoderRig rig;
    rig.decoder.decodeFrames("t7EA82101020304050607\r");
    EXPECT_EQ(rig.state.DiagPart[0], ";1;2;3;4;5;6;7");
    EXPECT_EQ(rig.state.DiagReplyKind + rig.state.C3Body + rig.state.C4Body, "");
}

// A lost or repeated consecutive frame never changes the number of values in the body,
// so the log's columns stay in place and the row cannot grow.
TEST(DiagReply, LostOrRepeatedFramesKeepTheBodyLength)
{
    DecoderRig rig;
    rig.decoder.decodeFrames(kC3Reply);
    for (int i = 0; i < 100; ++i) rig.decoder.decodeFrames("t7EA82208090A0B0C0D0E\r");
    EXPECT_EQ(rig.state.C3Body, kC3Body);
    // Next reply with frame 21 lost: 22..25 replace their own parts only.
    rig.decoder.decodeFrames("t7EA8102761C30D00FF03\rt7EA82299999999999999\r");
    EXPECT_EQ(rig.state.C3Head, "13;0;255;3");
    EXPECT_EQ(rig.state.C3Body, ";1;2;3;4;5;6;7;153;153;153;153;153;153;153" + kC3Body.substr(kC3Body.find(";15;")));
}

// Only full eight-byte first frames start a reply; the ELM327 path ignores 7EA.
TEST(DiagReply, ShortFirstFramesAndElmLinesAreNotReplies)
{
    DecoderRig rig;
    rig.decoder.decodeFrames("t7EA8102761C30C00FF03\r"); // a full frame sets the stale bytes 5..8
    rig.state.DiagReplyKind.clear();
    rig.state.C3Head.clear();
    rig.decoder.decodeFrames("t7EA4102761C3\r");
    EXPECT_EQ(rig.state.C3Head + rig.state.DiagReplyKind, "");

    DecoderRig elm(true);
    elm.decoder.decodeFrames("7EA 10 27 61 C3 0C 00 FF 03\r\n7EA 21 01 02 03 04 05 06 07\r\n");
    EXPECT_EQ(elm.decoder.framesOf(0x7EA), 2u);
    EXPECT_EQ(elm.state.C3Head + elm.state.DiagPart[0], "");
}

} // namespace
} // namespace vcm::test
