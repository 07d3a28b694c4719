// Replays worked out by hand: a steady drive given as candump text replayed in either
// adapter form, and the failures that must leave the output folder as it was (a broken
// recording, a full disk, an existing log). Every column of real drives in both unit
// systems: GoldenOutputTest.
#include "common/FileSystem.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/ReplaySession.h"

#include "ReplayFixture.h"
#include "support/FaultyFileSystem.h"

#include <gtest/gtest.h>

#include <regex>

namespace vcm {
namespace {

using namespace test;

ReplayOptions metricOptions(const std::string& out, bool replaceExisting = false)
{
    ReplayOptions o;
    o.settings.MetricUnits = o.settings.Celsius = true;
    o.outFolder = out;
    o.replaceExisting = replaceExisting;
    return o;
}

// Replays the recording on the disk, or on the file system given.
ReplayReport replayFile(const std::string& path, const ReplayOptions& options, const RecordingOptions& reading = {},
                        FileSystem* files = nullptr)
{
    DiskFileSystem disk;
    auto source = openRecording(path, reading);
    return replayRecording(*source, options, files ? *files : disk);
}

// Column numbers of the value log (0-based).
enum Col { Date, Heure, Speed, Rpm, Conso, Coolant, Current, BattTemp, Volt, Soc, Tank, Accel, Brake, Ev, Pid348,
           Inject, Mg1, Vvti, Shift, Timer, Distance, AvgConso, MinuteConso, Litres, Torque, FlowLh };

TEST(Replay, SteadyDriveGivesTheRowsWorkedOutByHand)
{
    UtcZone utc;
    TempFolder in;
    const std::string drive = in.write("steady.log", steadyDriveCandump());
    for (AdapterForm form : {AdapterForm::Elm327, AdapterForm::CanUsb}) {
        SCOPED_TRACE(form == AdapterForm::Elm327 ? "ELM327" : "CANUSB");
        TempFolder outDir;
        RecordingOptions inForm;
        inForm.form = form;
        const ReplayReport report = replayFile(drive, metricOptions(outDir.path()), inForm);

        // Last frame at 9.98 s: 99 ticks of 100 ms lie within the drive.
        EXPECT_EQ(report.rows, 99);
        EXPECT_EQ(outDir.names(), (std::vector<std::string>{"CAN_14112023_2213.csv", "TRAJETS.CSV"}));
        const auto lines = linesOf(outDir.read("CAN_14112023_2213.csv"));
        ASSERT_EQ(lines.size(), 100u);

        // Row k is taken at k x 100 ms; the last 3CA before it came at k x 100 - 60 ms:
        //   distance = (100k - 60) ms x 36 km/h / 3600 = k - 0.6 m
        //   fuel     = (100k - 60) ms x 2048 x 3072 / 1296000000 ml
        //   average  = 2048 x 3072 / (36 x 3600) = 48.545 L/100 km
        struct Row { int k; const char* heure; const char* distance; const char* litres; };
        for (const Row& r : {Row{1, "22:13:20", "0", "0"}, Row{2, "22:13:20", "1", "1"}, Row{10, "22:13:21", "9", "5"},
                             Row{50, "22:13:25", "49", "24"}, Row{99, "22:13:29", "98", "48"}}) {
            SCOPED_TRACE(r.k);
            const auto f = fieldsOf(lines[static_cast<std::size_t>(r.k)]);
            ASSERT_GE(f.size(), 26u);
            const std::string timer = std::to_string(r.k * 100);
            const std::pair<Col, const char*> want[] = {
                {Date, "14/11/2023"}, {Heure, r.heure}, {Speed, "36.0"},       {Rpm, "3072"},          {Conso, "48.55"},
                {Coolant, "90.0"},    {Soc, "50.0"},    {BattTemp, "25"},      {Inject, "2048"},       {Distance, r.distance},
                {Litres, r.litres},   {AvgConso, "48.55"}, {Timer, timer.c_str()}};
            for (const auto& [col, text] : want) EXPECT_EQ(f[col], text) << "column " << col;
        }

        // The run's line in the trip file, up to the drive's last 3CA at 9940 ms:
        // 99.4 m, 9940 x 2048 x 3072 / 1296000000 = 48.3 ml, moving from 22:13:20 to 22:13:29.
        const auto trip = linesOf(outDir.read("TRAJETS.CSV"));
        ASSERT_EQ(trip.size(), 32u);
        EXPECT_EQ(trip[0], "C;;;9;48;99");
        // Date, time the trip was stored (the drive's end), seconds, millilitres, metres.
        EXPECT_EQ(trip[31].rfind("T;14:11:23;22:13:29;9;48;99;", 0), 0u) << trip[31];
        EXPECT_NEAR(report.distanceM, 99.4, 1e-9);
    }
}

TEST(Replay, AFailedReplayLeavesNoOutputAndTheTripFileAsItWas)
{
    UtcZone utc;
    std::string broken = steadyDriveCandump();
    broken.insert(broken.size() / 2, "(1700000005.000000) can0 3CA#00G0\n");
    for (bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "broken recording");
        TempFolder in, out;
        const std::string trips = "C;;;100;2000;30000\r\n";
        out.write("TRAJETS.CSV", trips);
        FaultyFileSystem disk;
        disk.diskFull = fullDisk;
        try {
            replayFile(in.write("drive.log", fullDisk ? steadyDriveCandump() : broken), metricOptions(out.path()), {},
                       &disk);
            ADD_FAILURE() << "a failed replay reported success";
        } catch (const RecordingError&) {
            EXPECT_FALSE(fullDisk);
        } catch (const ReplayError& e) {
            EXPECT_TRUE(fullDisk) << e.what();
            EXPECT_NE(std::string(e.what()).find("CAN_14112023_2213.csv"), std::string::npos) << e.what();
        }
        EXPECT_EQ(out.names(), std::vector<std::string>{"TRAJETS.CSV"});
        EXPECT_EQ(out.read("TRAJETS.CSV"), trips);
    }
}

TEST(Replay, AnExistingValueLogIsNotReplacedUnlessAsked)
{
    UtcZone utc;
    TempFolder in, out;
    const std::string drive = in.write("steady.log", steadyDriveCandump(2));
    out.write("CAN_14112023_2213.csv", "the log written on the road\r\n");
    const std::string error = errorOf<ReplayError>([&] { replayFile(drive, metricOptions(out.path())); });
    EXPECT_NE(error.find("CAN_14112023_2213.csv"), std::string::npos) << error;
    EXPECT_EQ(out.read("CAN_14112023_2213.csv"), "the log written on the road\r\n");
    EXPECT_EQ(out.names(), std::vector<std::string>{"CAN_14112023_2213.csv"});

    replayFile(drive, metricOptions(out.path(), true));
    EXPECT_EQ(linesOf(out.read("CAN_14112023_2213.csv")).size(), 20u);
}

std::size_t tripLines(const std::string& tripFile)
{
    std::size_t n = 0;
    for (const auto& l : linesOf(tripFile)) n += l.rfind("T;", 0) == 0;
    return n;
}

// Whatever step a kill interrupts, the value log and the trip line end up together:
// a re-run without --force completes what is missing, and never stores the run twice.
TEST(Replay, AKillBetweenAnyTwoWritesIsCompletedByARerun)
{
    UtcZone utc;
    TempFolder in;
    const std::string drive = in.write("steady.log", steadyDriveCandump(2));
    for (int killAfter = 0;; ++killAfter) {
        SCOPED_TRACE(killAfter);
        TempFolder out;
        out.write("TRAJETS.CSV", "C;;;100;2000;30000\r\n");
        FaultyFileSystem dying;
        dying.killAfter = killAfter;
        bool finished = true;
        try {
            replayFile(drive, metricOptions(out.path()), {}, &dying);
        } catch (const ReplayError&) {
            finished = false;
        }
        try {
            replayFile(drive, metricOptions(out.path()));
        } catch (const ReplayError& e) {
            // Refused: only once the value log is in place, which comes last.
            EXPECT_NE(std::string(e.what()).find("exists already"), std::string::npos) << e.what();
        }
        EXPECT_EQ(out.names(), (std::vector<std::string>{"CAN_14112023_2213.csv", "TRAJETS.CSV"}));
        EXPECT_EQ(linesOf(out.read("CAN_14112023_2213.csv")).size(), 20u);
        EXPECT_EQ(tripLines(out.read("TRAJETS.CSV")), 1u);
        if (finished && !dying.killed()) break;
    }
}

// A gap in the recording is a pause: a day without frames, or a stamp in the year
// 3000, costs the rows of PauseSeconds, not of the gap.
TEST(Replay, LongGapsAreReplayedAsShortPauses)
{
    UtcZone utc;
    const std::string drive = steadyDriveCandump(2);
    const struct {
        const char* name;
        std::string after; // the stamp of the second part's first second
    } cases[] = {{"one day later", "(1700086400"}, {"year 3000", "(32503680000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder in, out;
        const std::string second = std::regex_replace(drive, std::regex(R"(\(1700000\d{3})"), c.after);
        const ReplayReport r = replayFile(in.write("gap.log", drive + second), metricOptions(out.path()));
        EXPECT_EQ(r.pauses, 1);
        EXPECT_LT(r.rows, 2 * 20 + 110);
        // 36 km/h for 2 s, twice, and at most the pause at the last speed (the decoder
        // integrates over silence as it does live).
        EXPECT_GT(r.distanceM, 2 * 20.0 - 1);
        EXPECT_LT(r.distanceM, 2 * 20.0 + 10 * PauseSeconds + 1);
    }
}

// Two buses in one file are never merged: the first interface is replayed, or the one
// asked for, with a note.
TEST(Replay, OneCandumpInterfaceIsReplayed)
{
    UtcZone utc;
    TempFolder in;
    const std::string can0 = steadyDriveCandump(2);
    // Each line again right after it, from can1.
    const std::string both = std::regex_replace(can0, std::regex("(.*) can0 (.*\n)"), "$&$1 can1 $2");
    const std::string path = in.write("two.log", both);
    for (const std::string channel : {"can1", ""}) {
        SCOPED_TRACE(channel);
        TempFolder out;
        std::vector<std::string> notes;
        RecordingOptions ro = noting(notes);
        ro.channel = channel;
        const ReplayReport r = replayFile(path, metricOptions(out.path()), ro);
        EXPECT_NEAR(r.distanceM, 19.4, 1e-9) << "one bus: 36 km/h up to its last 3CA at 1940 ms";
        EXPECT_TRUE(told(notes, channel.empty() ? "frames of can1 are skipped: only can0 (the first interface"
                                                : "frames of can0 are skipped: only can1 is replayed"));
    }
}

} // namespace
} // namespace vcm
