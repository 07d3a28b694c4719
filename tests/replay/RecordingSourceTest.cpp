// The recording readers: what each input is taken for, candump text turned into adapter
// text, plain adapter text paced at the serial speed, damaged and cut files, and the GPS
// log of a short drive (the candump export itself: GoldenOutputTest).
#include "link/canformat/AdapterText.h"
#include "sources/replay/CandumpSource.h"
#include "sources/replay/GpsRecordingFeed.h"
#include "sources/replay/PacedTextSource.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/RecordingSource.h"

#include "ReplayFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace vcm {
namespace {

using namespace test;

struct TimedFrame {
    std::int64_t timeUs;
    CanFrame frame;
    friend bool operator==(const TimedFrame&, const TimedFrame&) = default;
};

// The frames a source delivers, stamped with the chunk whose text completed them.
std::vector<TimedFrame> framesOf(RecordingSource& source)
{
    std::vector<TimedFrame> frames;
    AdapterFrameScanner scan(source.form());
    for (RecordedChunk c; source.next(c);)
        scan.feed(c.text, [&](const CanFrame& f) { frames.push_back({c.timeUs, f}); });
    return frames;
}

const std::string kCandump = "(1700000000.000100) can0 3CA#0000000000\n"
                             "(1700000000.000900) can0 0B4#00000000000D2C\n"
                             "(1700000000.001000) can0 18DAF110#0210C0\n"
                             "(1700000000.001200) can0 520#001A2B\n"
                             "(1700000000.001300) can0 7DF#R\n"
                             "(1700000000.250000) can0 3C8#00001F\n";

TEST(RecordingSource, RecognisesEachInputByItsContent)
{
    struct Case { std::string head; std::optional<RecordingKind> kind; std::optional<AdapterForm> form; };
    const std::vector<Case> cases = {
        {kCandump, RecordingKind::Candump, std::nullopt},
        {"3CA 00 00\r\n#04/12/2026 09:10:05_100_11#\r\n", RecordingKind::RawLog, AdapterForm::Elm327},
        {"t#09:10:05_100_16#\r\n3CA50000000000\r", RecordingKind::RawLog, AdapterForm::CanUsb},
        {"ATZ\r\r\rELM327 v1.5\r\n\r\n>3CA 00 00\r\n0B4 00 00 00 00 00 0D 2C\r\n", RecordingKind::AdapterText, AdapterForm::Elm327},
        {"\r\r\r\rV1011\rt3CA50000000000\rt0B4700000000000D2C\r", RecordingKind::AdapterText, AdapterForm::CanUsb},
        {"Date;Heure;km/h;Tpm\r\n04/12/2026;09:10:05;0.0;0\r\n", std::nullopt, std::nullopt},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const RecordingGuess g = guessRecording(c.head);
        EXPECT_EQ(g.kind, c.kind) << c.head;
        if (c.kind != RecordingKind::Candump) {
            EXPECT_EQ(g.form, c.form) << c.head;
        }
    }
}

TEST(RecordingSource, RefusesWhatItCannotReadNamingTheFile)
{
    TempFolder dir;
    const std::string csv = dir.write("CAN_04122026_0910.csv", "Date;Heure;km/h;Tpm\r\n04/12/2026;09:10:05;0.0;0\r\n");
    EXPECT_THROW(openRecording(csv, {}), RecordingError);
    EXPECT_THROW(openRecording(dir.write("empty.txt", ""), {}), RecordingError);
    EXPECT_NE(errorOf<RecordingError>([&] { openRecording(dir.file("missing.log"), {}); }).find("missing.log"), std::string::npos);
}

TEST(RecordingSource, CandumpFramesOfOneMillisecondArriveTogetherInTheChosenForm)
{
    TempFolder dir;
    const std::string path = dir.write("drive.log", kCandump);
    std::vector<std::string> notes;
    RecordingOptions options = noting(notes);
    for (AdapterForm form : {AdapterForm::Elm327, AdapterForm::CanUsb}) {
        options.form = form;
        auto source = openRecording(path, options);
        ASSERT_EQ(source->kind(), RecordingKind::Candump);
        std::vector<RecordedChunk> chunks;
        for (RecordedChunk c; source->next(c);) chunks.push_back(c);
        ASSERT_EQ(chunks.size(), 3u);
        EXPECT_EQ(std::tuple(chunks[0].tickMs, chunks[1].tickMs, chunks[2].tickMs), std::tuple(0.0, 1.0, 249.0));
        EXPECT_EQ(chunks[2].timeUs, 1700000000249100);
        if (form == AdapterForm::Elm327) {
            EXPECT_EQ(chunks[0].text, "3CA 00 00 00 00 00\r\n0B4 00 00 00 00 00 0D 2C\r\n");
            EXPECT_EQ(chunks[1].text, "520 00 1A 2B\r\n");
        } else {
            EXPECT_EQ(chunks[0].text, "t3CA50000000000\rt0B4700000000000D2C\r");
            EXPECT_EQ(chunks[2].text, "t3C8300001F\r");
        }
        EXPECT_DOUBLE_EQ(*source->durationMs(), 249.9);
    }
    // The two frames the car's bus cannot carry are counted in a note.
    EXPECT_TRUE(told(notes, "skipped 1 line(s): extended identifier"));
    EXPECT_TRUE(told(notes, "skipped 1 line(s): remote request"));
}

TEST(RecordingSource, CandumpDamagedLineIsAnErrorButACutLastLineIsNot)
{
    TempFolder dir;
    const std::size_t twoLines = kCandump.find('\n', kCandump.find('\n') + 1) + 1;
    const std::string damaged = kCandump.substr(0, twoLines) + "(1700000000.3) can0 3CA#00Q0\n" + kCandump.substr(twoLines);
    auto source = openRecording(dir.write("damaged.log", damaged), {});
    const std::string error = errorOf<RecordingError>([&] { framesOf(*source); });
    EXPECT_NE(error.find("damaged.log:3:"), std::string::npos) << error;

    std::vector<std::string> notes;
    auto cut = openRecording(dir.write("cut.log", kCandump.substr(0, kCandump.size() - 4)), noting(notes));
    EXPECT_EQ(framesOf(*cut).size(), 3u); // the 3C8 line is cut short
    EXPECT_TRUE(told(notes, "cut.log:6: the last line is cut short"));
}

TEST(RecordingSource, PlainTextIsPacedAtTheSerialSpeed)
{
    TempFolder dir;
    std::string text;
    for (int i = 0; i < 50; ++i) text += "3CA 00 00 00 00 00\r\n"; // 20 characters a line, 1000 in all
    const std::string path = dir.write("elm.txt", text);
    struct Case { int bps; std::size_t chunks, firstChunk; };
    for (const Case& c : {Case{500000, 20, 50}, Case{38400, 261, 3}, Case{1000000, 10, 100}}) {
        PacedTextSource source(path, AdapterForm::Elm327, c.bps, 1700000000);
        std::vector<RecordedChunk> chunks;
        std::string joined;
        for (RecordedChunk ch; source.next(ch);) {
            chunks.push_back(ch);
            joined += ch.text;
        }
        EXPECT_EQ(joined, text) << c.bps;
        ASSERT_EQ(chunks.size(), c.chunks) << c.bps;
        EXPECT_EQ(chunks[0].text.size(), c.firstChunk) << c.bps;
        // 1000 characters at 10 bits each take 10000 / bps seconds.
        EXPECT_NEAR(static_cast<double>(chunks.back().timeUs - 1700000000000000) / 1000.0, 1e7 / c.bps, 1.0) << c.bps;
    }
}

// How the sentences spread over a drive shows in the GPS columns (GoldenOutputTest); a
// drive shorter than one GPS tick (2050 ms) reads them all at its only tick.
TEST(GpsRecordingFeed, ADriveShorterThanOneGpsTickReadsEverythingAtOnce)
{
    TempFolder dir;
    const std::string nmea = "$GPGGA,091010,5321.6802,N,00630.3372,W,1,08,1.0,61.7,M,,,,*47\r\n$GPRMC,091010,A*1C\r\n";
    GpsRecordingFeed feed(dir.write("CAN_04122026_0910.gps", nmea), 500);
    EXPECT_EQ(feed.textForTick(1), nmea);
    EXPECT_EQ(feed.textForTick(2), "");
}

} // namespace
} // namespace vcm
