// Replays of drives recorded by the live program's own path (vcm-record: the Monitor
// on the simulated car, raw log with markers, GPS log, value log, trip file).
#include "SimulatedDrive.h"
#include "common/FileSystem.h"
#include "sources/replay/CandumpExport.h"
#include "sources/replay/RecordingSource.h"
#include "sources/replay/ReplaySession.h"

#include "ReplayFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace vcm {
namespace {

using namespace test;

constexpr std::size_t kTimerCol = 19;
constexpr std::size_t kMainCols = 26;

struct Recorded {
    TempFolder dir;
    std::string base; // log set without extension
    std::string csvName() const { return std::filesystem::path(base).filename().string() + ".csv"; }
};

std::unique_ptr<Recorded> record(bool elm327, double seconds, bool withGps = false)
{
    auto r = std::make_unique<Recorded>();
    r->base = recordSimulatedDrive({.folder = r->dir.path(), .seconds = seconds, .elm327 = elm327, .seed = 3, .withGps = withGps});
    return r;
}

ReplayReport replay(const std::string& input, const std::string& out, std::optional<AdapterForm> form = {},
                    const std::string& gps = {})
{
    RecordingOptions ro;
    ro.form = form;
    auto source = openRecording(input, ro);
    ReplayOptions options;
    options.settings.MetricUnits = options.settings.Celsius = true;
    options.outFolder = out;
    options.gpsPath = gps;
    DiskFileSystem disk;
    return replayRecording(*source, options, disk);
}

// Rows of a value log (header left out), each as its fields.
std::vector<std::vector<std::string>> rowsOf(const std::string& csv)
{
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : linesOf(readFile(csv))) rows.push_back(fieldsOf(line));
    rows.erase(rows.begin());
    return rows;
}

TEST(RecordedDrive, ReplayOfTheRawLogGivesTheRowsLoggedLive)
{
    for (bool elm327 : {true, false}) {
        SCOPED_TRACE(elm327 ? "ELM327" : "CANUSB");
        const auto rec = record(elm327, 20);
        TempFolder out;
        const ReplayReport report = replay(rec->base + ".txt", out.path());
        const auto live = rowsOf(rec->base + ".csv");
        const auto replayed = rowsOf(out.file(rec->csvName()));
        ASSERT_GT(replayed.size(), 150u);
        EXPECT_EQ(static_cast<std::int64_t>(replayed.size()), report.rows);
        // The raw log begins with the log set, a few ticks into the live run: from there
        // on every replayed row is the live row of the same tick, column for column
        // (diagnostic columns of the CANUSB included).
        std::map<std::string, const std::vector<std::string>*> liveByTimer;
        for (const auto& row : live) liveByTimer[row.at(kTimerCol)] = &row;
        for (const auto& row : replayed) {
            const auto it = liveByTimer.find(row.at(kTimerCol));
            ASSERT_NE(it, liveByTimer.end()) << "no live row at tick " << row.at(kTimerCol);
            EXPECT_EQ(*it->second, row) << "tick " << row.at(kTimerCol);
        }
        // The same distance and fuel in the trip line.
        const auto liveTrip = fieldsOf(linesOf(rec->dir.read("TRAJETS.CSV")).back());
        const auto replayTrip = fieldsOf(linesOf(out.read("TRAJETS.CSV")).back());
        EXPECT_EQ(liveTrip.at(4), replayTrip.at(4)); // millilitres
        EXPECT_EQ(liveTrip.at(5), replayTrip.at(5)); // metres
        EXPECT_NE(replayTrip.at(5), "0");
    }
}

TEST(RecordedDrive, TheRawLogAndItsCandumpExportReplayAlike)
{
    for (bool elm327 : {true, false}) {
        SCOPED_TRACE(elm327 ? "ELM327" : "CANUSB");
        const auto rec = record(elm327, 12);
        const AdapterForm form = elm327 ? AdapterForm::Elm327 : AdapterForm::CanUsb;
        TempFolder work, fromRaw, fromDump;
        auto raw = openRecording(rec->base + ".txt", {});
        const ExportSummary exported = exportCandump(*raw, work.file("drive.log"));
        EXPECT_GT(exported.frames, 12000u); // about 1500 frames a second
        replay(rec->base + ".txt", fromRaw.path());
        replay(work.file("drive.log"), fromDump.path(), form);
        const auto a = rowsOf(fromRaw.file(rec->csvName())), b = rowsOf(fromDump.file(rec->csvName()));
        // The candump log starts with the first frame, the raw log a little earlier, and
        // it has no tick count: the rows are sampled at the same moments, so the candump
        // rows are the raw log's last rows, equal but for the Timer column.
        ASSERT_GT(b.size(), 90u);
        ASSERT_GE(a.size(), b.size());
        const std::size_t offset = a.size() - b.size();
        EXPECT_LE(offset, 2u);
        for (std::size_t i = 0; i < b.size(); ++i) {
            auto ra = a[i + offset], rb = b[i];
            ra.erase(ra.begin() + kTimerCol);
            rb.erase(rb.begin() + kTimerCol);
            EXPECT_EQ(ra, rb) << "row " << i;
        }
        EXPECT_EQ(linesOf(fromRaw.read("TRAJETS.CSV")).front(), linesOf(fromDump.read("TRAJETS.CSV")).front());
    }
}

TEST(RecordedDrive, TheGpsLogBesideTheRawLogFillsTheGpsColumns)
{
    const auto rec = record(true, 12, true);
    TempFolder out;
    replay(rec->base + ".txt", out.path(), {}, rec->base + ".gps");
    const auto header = linesOf(out.read(rec->csvName())).front();
    EXPECT_NE(header.find(";GPS Latitude;GPS Longitude;GPS Altitude;GPS Speed;GPS Direction;Nbre Sat"), std::string::npos);
    const auto rows = rowsOf(out.file(rec->csvName()));
    ASSERT_GT(rows.size(), 90u);
    // Before the first GPS tick (2050 ms) the columns are empty; the first fix read is
    // the receiver's first sentence: 5321.6780 N 00630.3360 W, altitude 61.7, 8 satellites.
    EXPECT_EQ(rows.front().at(kMainCols), "");
    const auto fixed = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return !r.at(kMainCols).empty(); });
    ASSERT_NE(fixed, rows.end());
    EXPECT_LE(fixed - rows.begin(), 21);
    EXPECT_EQ(fixed->at(kMainCols), "53.3613");
    EXPECT_EQ(fixed->at(kMainCols + 1), "-6.5056");
    EXPECT_EQ(fixed->at(kMainCols + 2), "61,7");
    EXPECT_EQ(fixed->at(kMainCols + 5), "8");
    // By the end the position has moved north-east along the road.
    EXPECT_GT(std::stod(rows.back().at(kMainCols)), 53.3613);
}

} // namespace
} // namespace vcm
