// Adapter text as the adapters send it: which lines are frames for the decoder and for
// the exports, and how text is cut into lines wherever the serial port splits it.
#include "DecoderRig.h"
#include "decode/AdapterLine.h"
#include "link/canformat/AdapterText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace vcm::test {
namespace {

// A reading as text: "3CA 00 ?? 1A" (?? an invalid byte, "+2" two bytes past the eighth),
// "-" when the line is not a frame.
std::string shown(bool read, const FrameLine& f)
{
    if (!read) return "-";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03X", static_cast<unsigned>(f.id));
    std::string s = buf;
    for (int k = 1; k <= std::min(f.count, 8); ++k) {
        std::snprintf(buf, sizeof buf, " %02X", static_cast<unsigned>(f.at(k)));
        s += f.valid(k) ? buf : " ??";
    }
    return f.count > 8 ? s + " +" + std::to_string(f.count - 8) : s;
}

TEST(AdapterLine, EachLineAsTheDecoderAndTheExportsReadIt)
{
    struct Case {
        AdapterForm form;
        const char* line;
        const char* decoder; // readFrameLine
        const char* whole;   // readWholeFrame (exports)
    };
    const auto elm = AdapterForm::Elm327, canusb = AdapterForm::CanUsb;
    const Case cases[] = {
        {elm, "3CA 00 1A 00 2C 00", "3CA 00 1A 00 2C 00", "3CA 00 1A 00 2C 00"},
        {elm, "0b4 00 00 00 00 00 2e e0 00", "0B4 00 00 00 00 00 2E E0 00", "0B4 00 00 00 00 00 2E E0 00"},
        {elm, "3CA 00 1A ", "3CA 00 1A ??", "-"},                          // trailing space
        {elm, "3CA 00  1A", "3CA 00 ?? 1A", "-"},                          // double space
        {elm, ">03B 00 1F 00 E2 3D", "03B 00 1F 00 E2 3D", "-"},          // after a restart's prompt
        {elm, "3CA 000 1", "3CA ?? 01", "-"},
        {elm, "18DAF110 03 41 0D", "18DAF110 03 41 0D", "-"},             // 29-bit header
        {elm, "3CA 00 01 02 03 04 05 06 07 08 09", "3CA 00 01 02 03 04 05 06 07 +2", "-"},
        {elm, "8AA 00", "8AA 00", "-"},
        {elm, "3CA 00 0", "3CA 00 00", "-"},
        {elm, "520", "-", "520"},
        {canusb, "t3CA5001A002C00", "3CA 00 1A 00 2C 00", "3CA 00 1A 00 2C 00"},
        {canusb, "t0B4800000000002ee000", "0B4 00 00 00 00 00 2E E0 00", "0B4 00 00 00 00 00 2E E0 00"},
        {canusb, "t7FF2FF01", "7FF FF 01", "7FF FF 01"},
        {canusb, "3CA5001A002C00", "3CA 00 1A 00 2C 00", "-"},           // "t" already gone
        {canusb, "t7FF1FF", "-", "7FF FF"},
        {canusb, "t8AA200A1", "8AA 00 A1", "-"},                              // one-byte frames
        {canusb, "t5200", "-", "520"},
        {canusb, "t7EA8102761C30C00FF03EA5F", "-", "7EA 10 27 61 C3 0C 00 FF 03"}, // Z1 time stamp
    };
    for (const Case& c : cases) {
        FrameLine f;
        EXPECT_EQ(shown(readFrameLine(c.line, c.form, f), f), c.decoder) << c.line;
        EXPECT_EQ(shown(readWholeFrame(c.line, c.form, f), f), c.whole) << c.line;
    }
    const std::vector<std::pair<AdapterForm, std::vector<const char*>>> neither = {
        {elm, {"3CA00", "3C 00", " 3CA 00", "3CAX 00", "BUFFER FULL", "CAN ERROR", "STOPPED", ">", "", "ABC", "OK",
               "7E8 03 41 0D 00 <DATA ERROR", "3C8 00 00 32 00 00 <RX ERROR", "3C8 00 00 <RX"}},
        {canusb, {"t3CA5001A002C0", "t3CA5001A002C0000", "t3CA9001A002C000000000000", "t3CA5001A0G2C00", "t3CA200A1FFFG",
                  "T1234567820011", "r3CA5", "z", "Z", "V1013", "F00", "t3CA5001A002C00\n", "", "\a"}},
    };
    for (const auto& [form, lines] : neither)
        for (const char* line : lines) {
            FrameLine f;
            EXPECT_FALSE(readFrameLine(line, form, f) || readWholeFrame(line, form, f)) << line;
        }
}

// Real sessions: the ELM327's start-up dialogue, a buffer report, a restart glued to its
// prompt, a line with a stray CR and an identifier beyond eleven bits (decoded, never
// exported); the CANUSB's replies (CR acks, version, "z" of the polling frames, a lone CR,
// a refused command's BEL after a broken line) between frames.
struct Session {
    bool elm;
    std::string text;
    std::uint64_t frames, ignored; // the decoder's counts
    std::vector<std::uint32_t> exported;
    std::size_t otherLines;        // the export scanner's
};
const Session kSessions[] = {
    {true,
     "ATZ\r\r\rELM327 v1.5\r\n\r\n>ATMA\r\n0B4 00 00 00 00 00 2E E0 00\r\n3C8 00 00 32 00 00\r\nBUFFER FULL\r\n\r\n>"
     "520 00 01 D6 00\r\n03B 0F 7B 00 D8 00\r\n3CA 00 00 00 00 00\r\n3C8 00 00 33\r00 00 00\r\n"
     "3CB 3C 46 00 5A 00 1A 00\r\n540 00 5D 00\r\n8AA 00\r\n025 00 7C 0F FF 00 00\r\n",
     10, 3, {0x0B4, 0x3C8, 0x03B, 0x3CA, 0x3CB, 0x540, 0x025}, 6},
    {false,
     "\a\a\r\rV1011\rt0B4800000000002EE000\rz\rt3C850000320000\rt52040001D600\r\rt03B50F7B00D800\rz\r"
     "t7EA8102761C3000102\at3CA50000000000\rt3CB73C46005A001A00\rt5403005D00\rt0256007C0FFF0000\r",
     8, 4, {0x0B4, 0x3C8, 0x520, 0x03B, 0x3CA, 0x3CB, 0x540, 0x025}, 4},
};

// What the dashboard, the logs and an export see after the text is read: the counts
// and values a session is known to give, then the rest of what is shown.
auto outcome(const DecoderRig& r, const AdapterFrameScanner& scan, const std::vector<std::uint32_t>& ids)
{
    const VehicleState& v = r.state;
    return std::pair(std::tuple(r.decoder.framesDecoded(), r.decoder.linesIgnored(), ids, scan.otherLines(),
                                r.decoder.pendingText(), v.SpeedKmh, v.EngineRpm, v.ShiftLever),
                     std::tuple(r.sink.events, v.Injector, v.BatteryCurrent, v.StateOfCharge, v.SteeringAngle));
}

TEST(AdapterLine, RealSessionsGiveTheSameFramesWhereverTheTextIsCut)
{
    for (const Session& s : kSessions) {
        SCOPED_TRACE(s.elm ? "ELM327" : "CANUSB");
        auto read = [&](const std::vector<std::string_view>& chunks) {
            DecoderRig rig(s.elm);
            AdapterFrameScanner scan(s.elm ? AdapterForm::Elm327 : AdapterForm::CanUsb);
            std::vector<std::uint32_t> ids;
            for (auto chunk : chunks) {
                rig.decoder.decodeFrames(chunk);
                scan.feed(chunk, [&](const CanFrame& f) { ids.push_back(f.id); });
            }
            return outcome(rig, scan, ids);
        };
        const std::string_view text = s.text;
        const auto expected = read({text});
        EXPECT_EQ(expected.first, std::tuple(s.frames, s.ignored, s.exported, s.otherLines, "", 120.0, 1600.0, "B"));

        for (std::size_t cut = 0; cut <= text.size(); ++cut)
            EXPECT_TRUE(read({text.substr(0, cut), text.substr(cut)}) == expected) << "cut at " << cut;
        std::vector<std::string_view> bytes(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = text.substr(i, 1);
        EXPECT_TRUE(read(bytes) == expected);
    }
}

// Text that never ends a line (noise, a wrong baud rate) is kept to a bounded tail, and
// the first frame after the noise's end is decoded.
TEST(AdapterLine, PendingTextIsCappedAndRecovers)
{
    for (bool elm : {true, false}) {
        SCOPED_TRACE(elm ? "ELM327" : "CANUSB");
        DecoderRig rig(elm);
        std::string noise(1000, '\0');
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>('A' + i % 23);
        for (int i = 0; i < 1000; ++i) rig.decoder.decodeFrames(noise);
        EXPECT_EQ(rig.decoder.pendingText().size(), FrameDecoder::kMaxPendingText);
        EXPECT_EQ(rig.decoder.pendingText().substr(FrameDecoder::kMaxPendingText - noise.size()), noise);

        rig.decoder.decodeFrames(std::string(100000, 'x')); // one huge chunk
        EXPECT_EQ(rig.decoder.pendingText(), std::string(FrameDecoder::kMaxPendingText, 'x'));
        EXPECT_LT(rig.decoder.pendingText().capacity(), 2 * FrameDecoder::kMaxPendingText); // never held it all

        rig.decoder.decodeFrames(elm ? "\r\n3C8 00 00 32 00 00\r\n" : "\rt3C850000320000\r");
        EXPECT_EQ(std::tuple(rig.decoder.framesDecoded(), rig.state.EngineRpm, rig.decoder.pendingText()),
                  std::tuple(1u, 1600.0, ""));
    }
}

TEST(AdapterLine, EveryDecodedLineStampsTheFrameTimeEvenWithoutAHandler)
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
