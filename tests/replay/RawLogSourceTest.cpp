// The raw log read back chunk by chunk: ELM327 and CANUSB text around the markers, a
// file cut short anywhere, damaged markers (whole raw logs replayed: GoldenOutputTest).
#include "sources/replay/LocalTime.h"
#include "sources/replay/RawLogSource.h"
#include "sources/replay/RecordingError.h"

#include "ReplayFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vcm {
namespace {

using namespace test;

// A raw log of an ELM327 session as the logger writes it: each chunk's first line
// (or first character), the marker, the rest of the chunk.
const std::string kElmRawLog =
    "A#04/12/2026 09:10:05_5000000_4#\r\nTZ\r"                             // "ATZ\r" echo, no CR LF
    "\r\n#04/12/2026 09:10:06_5001000_18#\r\nELM327 v1.5\r\n\r\n>"         // starts with CR LF
    "3CA 00 00 00 00 00\r\n#04/12/2026 09:10:06_5001250_29#\r\n0B4 00 00"  // line cut at the chunk's end
    " 00 00 00 0D 2C\r\n#04/12/2026 09:10:06_5001262_17#\r\n";             // rest empty

TEST(RawLogSource, ReadsCanUsbChunksWithoutLineFeeds)
{
    // CANUSB text has no CR LF: the marker follows each chunk's first character.
    const std::string raw = "t#09:10:05_100_29#\r\n3CA50000000000\rt0B4700000000"
                            "0#09:10:05_108_16#\r\n00D2C\rt3CA50000";
    TempFolder dir;
    RawLogSource source(dir.write("CAN_04122026_0910.txt", raw), AdapterForm::CanUsb, {});
    const auto chunks = readAllChunks(source);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].text, "t3CA50000000000\rt0B4700000000");
    EXPECT_EQ(chunks[1].text, "000D2C\rt3CA50000");
    // The markers hold the time only: the day comes from the log set's name.
    EXPECT_EQ(localFromEpoch(chunks[0].timeUs / 1000000), DateTime::fromCivil({2026, 12, 4, 9, 10, 5}));
    EXPECT_EQ(chunks[1].timeUs - chunks[0].timeUs, 8000);
}

// One bad tick count must not make the time after it jump; a count that went back and
// goes on from there (a restart) is followed; an absurd count is one bounded step.
TEST(RawLogSource, TickCountsThatGoBackOrLeapAreKeptInBounds)
{
    const auto marked = [](std::initializer_list<const char*> ticks) {
        std::string raw;
        for (const char* t : ticks) raw += std::string("t#09:10:05_") + t + "_16#\r\n3CA50000000000\r";
        return raw;
    };
    const struct {
        const char* name;
        std::string raw;
        std::int64_t lastAfterFirstUs;
    } cases[] = {
        {"one count back", marked({"1000", "1100", "5", "1200"}), 200000},
        {"restarted count", marked({"1000", "1100", "5", "105"}), 200000},
        {"absurd count", marked({"1000", "999999999999999", "1100"}), 1000000000000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        std::vector<std::string> notes;
        RawLogSource source(dir.write("CAN_04122026_0910.txt", c.raw), AdapterForm::CanUsb, noting(notes));
        const auto chunks = readAllChunks(source);
        ASSERT_GE(chunks.size(), 3u);
        EXPECT_EQ(chunks.back().timeUs - chunks.front().timeUs, c.lastAfterFirstUs);
        for (std::size_t i = 1; i < chunks.size(); ++i) EXPECT_GE(chunks[i].timeUs, chunks[i - 1].timeUs);
    }
}

TEST(RawLogSource, AFileCutShortGivesWhatIsThereAndSaysSo)
{
    // A power cut can stop the file anywhere: every cut gives back the complete chunks
    // before it and the part of the chunk being written, never an error.
    for (std::size_t cut = 1; cut < kElmRawLog.size(); ++cut) {
        SCOPED_TRACE(cut);
        TempFolder dir;
        std::vector<std::string> notes;
        RawLogSource source(dir.write("CAN_04122026_0910.txt", kElmRawLog.substr(0, cut)), AdapterForm::Elm327, noting(notes));
        std::string text;
        std::vector<RecordedChunk> chunks;
        ASSERT_NO_THROW(chunks = readAllChunks(source));
        for (const auto& c : chunks) text += c.text;
        // Whatever came back is the start of the received text.
        const std::string received = "ATZ\r\r\nELM327 v1.5\r\n\r\n>3CA 00 00 00 00 00\r\n0B4 00 00 00 00 00 0D 2C\r\n";
        EXPECT_EQ(received.substr(0, text.size()), text);
        // Only a cut right at the end of a chunk goes unnoticed: nothing is missing there.
        const std::vector<std::size_t> chunkEnds = {kElmRawLog.find("TZ\r") + 3, kElmRawLog.find(">") + 1,
                                                    kElmRawLog.find("0B4 00 00") + 9, kElmRawLog.size()};
        EXPECT_TRUE(!notes.empty() || std::count(chunkEnds.begin(), chunkEnds.end(), cut) == 1) << "a cut went unnoted";
    }
    // Whole, the file is shorter than the tail its duration is read from: first to last marker.
    TempFolder dir;
    EXPECT_DOUBLE_EQ(*RawLogSource(dir.write("CAN_04122026_0910.txt", kElmRawLog), AdapterForm::Elm327, {}).durationMs(), 1262);
}

TEST(RawLogSource, ADamagedMarkerIsAnErrorNamingItsLine)
{
    struct Case { std::string text; std::size_t line; };
    const std::vector<Case> cases = {
        // Tick damaged on the marker of line 4.
        {"3CA 00\r\n#09:10:05_100_8#\r\n3CA 00\r\n#09:10:05_1x0_8#\r\n" + std::string(9000, ' '), 4},
        // Length shorter than the text before the marker.
        {"3CA 00\r\n#09:10:05_100_3#\r\n" + std::string(9000, ' '), 2},
        // Binary noise in the middle of the file.
        {"3CA 00\r\n#09:10:05_100_8#\r\n" + std::string(20000, '\x01'), 3},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        RawLogSource source(dir.write("CAN_04122026_0910.txt", c.text), AdapterForm::Elm327, {});
        const std::string error = errorOf<RecordingError>([&] { readAllChunks(source); });
        EXPECT_NE(error.find("CAN_04122026_0910.txt:" + std::to_string(c.line) + ":"), std::string::npos) << error;
    }
}

} // namespace
} // namespace vcm
