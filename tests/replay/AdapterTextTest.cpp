#include "link/replay/AdapterText.h"
#include "link/replay/RecordingSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace vcm {
namespace {

CanFrame frame(std::uint16_t id, std::vector<std::uint8_t> bytes)
{
    CanFrame f;
    f.id = id;
    f.length = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        f.data[i] = bytes[i];
    return f;
}

TEST(AdapterText, WritesEachAdaptersFrameLine)
{
    struct Case {
        CanFrame f;
        const char* elm;
        const char* canusb;
    };
    const std::vector<Case> cases = {
        {frame(0x3CA, {0x00, 0xA1, 0x00, 0x00, 0x7F}), "3CA 00 A1 00 00 7F\r\n", "t3CA500A100007F\r"},
        {frame(0x025, {0x0F, 0xFE, 0x00, 0x10}), "025 0F FE 00 10\r\n", "t02540FFE0010\r"},
        {frame(0x7EA, {0x10, 0x27, 0x61, 0xC3, 1, 2, 3, 4}), "7EA 10 27 61 C3 01 02 03 04\r\n", "t7EA8102761C301020304\r"},
        {frame(0x520, {}), "520\r\n", "t5200\r"},
    };
    for (const auto& c : cases) {
        std::string elm, canusb;
        appendAdapterLine(elm, c.f, AdapterForm::Elm327);
        appendAdapterLine(canusb, c.f, AdapterForm::CanUsb);
        EXPECT_EQ(elm, c.elm);
        EXPECT_EQ(canusb, c.canusb);
    }
}

TEST(AdapterText, ScannerKeepsFramesOfARealElm327SessionAcrossChunks)
{
    // Start-up dialogue, then monitor lines cut at arbitrary places, a buffer report.
    const std::vector<std::string> chunks = {
        "ATZ\r\r\rELM327 v1.5\r\n\r\n>", "OK\r\n\r\n>", "3CA 00 00 00 0", "0 00\r\n0B4 00 00 00 00 00 0D 2C\r", "\n",
        "BUFFER FULL\r\n", "520 00 1A 2B\r\n3C8 00 00 1F\r\n"};
    AdapterFrameScanner scan(AdapterForm::Elm327);
    std::vector<CanFrame> got;
    for (const auto& c : chunks)
        scan.feed(c, [&](const CanFrame& f) { got.push_back(f); });
    // The first monitor line is glued to the prompt (">3CA ..."): like the decoder, the
    // scanner does not take it for a frame.
    const std::vector<CanFrame> want = {frame(0x0B4, {0, 0, 0, 0, 0, 0x0D, 0x2C}),
                                        frame(0x520, {0, 0x1A, 0x2B}), frame(0x3C8, {0, 0, 0x1F})};
    EXPECT_EQ(got, want);
    EXPECT_EQ(scan.otherLines(), 4u); // echo + banner, ">OK", ">3CA ...", BUFFER FULL
}

TEST(AdapterText, ScannerKeepsFramesOfARealCanUsbSession)
{
    // CR acks, version and serial replies, a BEL error, transmit acks "z", a Z1 time stamp.
    const std::string text = "\r\r\r\rV1011\rNA123\r\r\r\r\rt3CA50000000000\rz\rt7EA81027"
                             "61C3000102\x07t0B4700000000000D2C1F2C\rT18DAF1102021\r";
    AdapterFrameScanner scan(AdapterForm::CanUsb);
    std::vector<CanFrame> got;
    for (char c : text)
        scan.feed(std::string_view(&c, 1), [&](const CanFrame& f) { got.push_back(f); });
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], frame(0x3CA, {0, 0, 0, 0, 0}));
    EXPECT_EQ(got[1], frame(0x0B4, {0, 0, 0, 0, 0, 0x0D, 0x2C}));
}

TEST(AdapterText, RejectsLinesThatAreNotFrames)
{
    for (const char* line : {"3CA 00 0", "3CA  00", "3CA 00 00 00 00 00 00 00 00 00", "8AA 00", "OK", ">3CA 00", "3CA 00 "})
        EXPECT_FALSE(parseAdapterLine(line, AdapterForm::Elm327)) << line;
    for (const char* line : {"t3CA9000000000000000000", "t3CA2001", "T3CA2", "r3CA0", "t3CA200AZ", "t3CA200A1FFFG", "z"})
        EXPECT_FALSE(parseAdapterLine(line, AdapterForm::CanUsb)) << line;
}

TEST(AdapterText, GuessesTheFormOfAdapterText)
{
    EXPECT_EQ(guessAdapterForm("3CA 00 00 00 00 00\r\n0B4 00 00 00 00 00 0D 2C\r\n"), AdapterForm::Elm327);
    EXPECT_EQ(guessAdapterForm("t3CA50000000000\rt0B4700000000000D2C\r"), AdapterForm::CanUsb);
    EXPECT_EQ(guessAdapterForm("hello world\r\n"), std::nullopt);
}

} // namespace
} // namespace vcm
