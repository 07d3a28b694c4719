// How adapter text is cut into lines: chunk boundaries anywhere, replies between
// CANUSB frames, noise without line ends.
#include "DecoderRig.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vcm::test {
namespace {

// A few frames as each adapter sends them, CANUSB with the "z" acknowledgements of the
// polling frames, a lone CR and the BEL of a refused command (which has no CR of its
// own) mixed in, ELM327 with a report line.
const std::string kCanUsbText =
    "t0B4800000000002EE000\r"
    "z\r"
    "t3C850000320000\r"
    "t52040001D600\r"
    "\r"
    "t03B50F7B00D800\r"
    "z\r"
    "\at3CA50000000000\r"
    "t3CB73C46005A001A00\r"
    "t5403005D00\r"
    "t0256007C0FFF0000\r";
const std::string kElmText =
    "0B4 00 00 00 00 00 2E E0 00\r\n"
    "3C8 00 00 32 00 00\r\n"
    "BUFFER FULL\r\n"
    "520 00 01 D6 00\r\n"
    "03B 0F 7B 00 D8 00\r\n"
    "3CA 00 00 00 00 00\r\n"
    "3CB 3C 46 00 5A 00 1A 00\r\n"
    "540 00 5D 00\r\n"
    "025 00 7C 0F FF 00 00\r\n";

// What the dashboard and the logs see after the text is decoded.
auto outcome(const DecoderRig& r)
{
    const VehicleState& v = r.state;
    return std::tuple(r.sink.events, v.SpeedKmh, v.EngineRpm, v.Injector, v.BatteryCurrent, v.StateOfCharge,
                      v.SteeringAngle, v.ShiftLever, r.decoder.framesDecoded(), r.decoder.linesIgnored());
}

// Each frame is decoded at its own line end (the last CANUSB frame is followed by
// nothing), and however the serial port cuts the text the result is that of the whole.
TEST(LineSplitting, EveryFrameOfBothFormsWhereverTheTextIsCut)
{
    for (bool elm : {true, false}) {
        SCOPED_TRACE(elm ? "ELM327" : "CANUSB");
        const std::string& text = elm ? kElmText : kCanUsbText;
        DecoderRig whole(elm);
        whole.decoder.decodeFrames(text);
        EXPECT_EQ(whole.decoder.framesDecoded(), 8u);
        EXPECT_TRUE(whole.decoder.pendingText().empty());
        EXPECT_DOUBLE_EQ(whole.state.SpeedKmh, 120.0);
        EXPECT_DOUBLE_EQ(whole.state.EngineRpm, 1600);
        EXPECT_EQ(whole.state.BatteryCurrent, 133);
        EXPECT_EQ(whole.state.ShiftLever, "B");
        EXPECT_EQ(whole.state.SteeringAngle, 125);
        EXPECT_EQ(whole.decoder.linesIgnored(), elm ? 1u : 2u); // BUFFER FULL; the two "z"

        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            SCOPED_TRACE("cut at " + std::to_string(cut));
            DecoderRig rig(elm);
            rig.decoder.decodeFrames(std::string_view(text).substr(0, cut));
            rig.decoder.decodeFrames(std::string_view(text).substr(cut));
            EXPECT_TRUE(outcome(rig) == outcome(whole));
            EXPECT_TRUE(rig.decoder.pendingText().empty());
        }
        DecoderRig bytewise(elm);
        for (char c : text) bytewise.decoder.decodeFrames(std::string_view(&c, 1));
        EXPECT_TRUE(outcome(bytewise) == outcome(whole));
    }
}

// The ELM327 form is cut at CR LF only: a CR alone does not end a line.
TEST(LineSplitting, ElmLinesEndAtCarriageReturnLineFeed)
{
    DecoderRig rig(true);
    rig.decoder.decodeFrames("3C8 00 00 32 00 00\r");
    EXPECT_EQ(rig.decoder.framesDecoded(), 0u);
    rig.decoder.decodeFrames("\n3C8 00 00 33\r00 00 00\r\n");
    EXPECT_EQ(rig.decoder.framesDecoded(), 2u); // the second line's third byte is "33\r00": invalid
    EXPECT_DOUBLE_EQ(rig.state.EngineRpm, 1600);
}

// Text that never ends a line (noise, a wrong baud rate) is kept to a bounded tail, and
// the first frame after the noise's end is decoded.
TEST(LineSplitting, PendingTextIsCappedAndRecovers)
{
    for (bool elm : {true, false}) {
        SCOPED_TRACE(elm ? "ELM327" : "CANUSB");
        DecoderRig rig(elm);
        std::string noise(1000, '\0');
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>('A' + i % 23);
        for (int i = 0; i < 1000; ++i) {
            rig.decoder.decodeFrames(noise);
            ASSERT_LE(rig.decoder.pendingText().size(), FrameDecoder::kMaxPendingText);
        }
        EXPECT_EQ(rig.decoder.pendingText().size(), FrameDecoder::kMaxPendingText);
        EXPECT_EQ(rig.decoder.pendingText().substr(FrameDecoder::kMaxPendingText - noise.size()), noise);

        rig.decoder.decodeFrames(std::string(100000, 'x')); // one huge chunk
        EXPECT_EQ(rig.decoder.pendingText(), std::string(FrameDecoder::kMaxPendingText, 'x'));
        EXPECT_LT(rig.decoder.pendingText().capacity(), 2 * FrameDecoder::kMaxPendingText); // never held it all

        rig.decoder.decodeFrames(elm ? "\r\n3C8 00 00 32 00 00\r\n" : "\rt3C850000320000\r");
        EXPECT_EQ(rig.decoder.framesDecoded(), 1u);
        EXPECT_DOUBLE_EQ(rig.state.EngineRpm, 1600);
        EXPECT_TRUE(rig.decoder.pendingText().empty());
    }
}

TEST(LineSplitting, EveryAcceptedLineStampsTheFrameTimeEvenWithoutAHandler)
{
    DecoderRig rig;
    rig.clock.setNow(DateTime::fromCivil({2026, 12, 6, 11, 0, 5}));
    rig.decoder.decodeFrames("t7FF20A0B\r");
    EXPECT_EQ(rig.state.LastFrameTime, DateTime::fromCivil({2026, 12, 6, 11, 0, 5}));
    rig.clock.setNow(DateTime::fromCivil({2026, 12, 6, 11, 0, 9}));
    rig.decoder.decodeFrames("t7FF20A\rz\r");
    EXPECT_EQ(rig.state.LastFrameTime, DateTime::fromCivil({2026, 12, 6, 11, 0, 5}));
}

} // namespace
} // namespace vcm::test
