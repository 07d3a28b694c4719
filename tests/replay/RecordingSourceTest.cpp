// The recording readers: inputs refused, candump text turned into adapter text, damaged
// and cut files. (Each kind of input recognised, plain text paced at the serial speed and
// the GPS log spread over a drive: GoldenOutputTest.)
#include "link/canformat/AdapterText.h"
#include "sources/replay/CandumpSource.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/RecordingSource.h"

#include "ReplayFixture.h"

#include <gtest/gtest.h>

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

TEST(RecordingSource, RefusesWhatItCannotReadNamingTheFile)
{
    TempFolder dir;
    const std::string csv = dir.write("CAN_04122026_0910.csv", "Date;Heure;km/h;Tpm\r\n04/12/2026;09:10:05;0.0;0\r\n");
    EXPECT_THROW(openRecording(csv, {}), RecordingError);
    EXPECT_THROW(openRecording(dir.write("empty.txt", ""), {}), RecordingError);
    EXPECT_THROW(openRecording(dir.write("image.png", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)), {}), RecordingError);
    EXPECT_NE(errorOf<RecordingError>([&] { openRecording(dir.file("missing.log"), {}); }).find("missing.log"), std::string::npos);
}

TEST(RecordingSource, CandumpFramesOfOneMillisecondArriveTogetherInTheChosenForm)
{
    TempFolder dir;
    const std::string path = dir.write("drive.log", kCandump);
    std::vector<std::string> notes;
    RecordingOptions options = noting(notes);
    const std::pair<AdapterForm, std::vector<std::string>> forms[] = {
        {AdapterForm::Elm327,
         {"3CA 00 00 00 00 00\r\n0B4 00 00 00 00 00 0D 2C\r\n", "520 00 1A 2B\r\n", "3C8 00 00 1F\r\n"}},
        {AdapterForm::CanUsb, {"t3CA50000000000\rt0B4700000000000D2C\r", "t5203001A2B\r", "t3C8300001F\r"}},
    };
    for (const auto& [form, texts] : forms) {
        options.form = form;
        auto source = openRecording(path, options);
        ASSERT_EQ(source->kind(), RecordingKind::Candump);
        const auto chunks = readAllChunks(*source);
        ASSERT_EQ(chunks.size(), 3u);
        EXPECT_EQ(std::tuple(chunks[0].tickMs, chunks[1].tickMs, chunks[2].tickMs), std::tuple(0.0, 1.0, 249.0));
        EXPECT_EQ(chunks[2].timeUs, 1700000000249100);
        EXPECT_EQ((std::vector{chunks[0].text, chunks[1].text, chunks[2].text}), texts);
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

} // namespace
} // namespace vcm
