// The bundled raw-log sample (samples/CAN_04122026_0910.*: 30 s of the simulated car,
// seed 1, recorded by vcm-record through the live path) replayed: the rows must be those
// the live session wrote into the sample's own value log.
#include "common/FileSystem.h"
#include "link/replay/RecordingSource.h"
#include "link/replay/ReplaySession.h"

#include "ReplayFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace vcm {
namespace {

using namespace test;

const std::string kSample = std::string(VCM_SAMPLES_DIR) + "/CAN_04122026_0910";

TEST(Samples, RawLogReplaysToTheRowsLoggedLive)
{
    TempFolder out;
    auto source = openRecording(kSample + ".txt", {});
    EXPECT_EQ(source->kind(), RecordingKind::RawLog);
    EXPECT_EQ(source->form(), AdapterForm::Elm327);
    ReplayOptions options;
    options.settings.MetricUnits = options.settings.Celsius = true;
    options.outFolder = out.path();
    options.gpsPath = kSample + ".gps";
    DiskFileSystem disk;
    const ReplayReport report = replayRecording(*source, options, disk);
    EXPECT_NEAR(report.recordedMs, 30000, 1000);

    const auto live = linesOf(readFile(kSample + ".csv"));
    const auto replayed = linesOf(out.read("CAN_04122026_0910.csv"));
    EXPECT_EQ(replayed.front(), live.front()); // the same header, GPS columns included
    std::map<std::string, std::vector<std::string>> liveByTimer;
    for (std::size_t i = 1; i < live.size(); ++i) liveByTimer[fieldsOf(live[i]).at(19)] = fieldsOf(live[i]);
    ASSERT_GT(replayed.size(), 290u);
    for (std::size_t i = 1; i < replayed.size(); ++i) {
        const auto f = fieldsOf(replayed[i]);
        const auto it = liveByTimer.find(f.at(19));
        ASSERT_NE(it, liveByTimer.end()) << replayed[i];
        // The 26 columns of the car's values; the GPS text's timing is not in its log.
        for (std::size_t c = 0; c < 26; ++c)
            EXPECT_EQ(f.at(c), it->second.at(c)) << "tick " << f.at(19) << " column " << c;
    }
    // A handful of rows read off the live log: moving at the end, 404 m driven.
    EXPECT_EQ(fieldsOf(replayed.back()).at(20), fieldsOf(live.back()).at(20));
    EXPECT_EQ(fieldsOf(linesOf(out.read("TRAJETS.CSV")).back()).at(5), "404");
}

} // namespace
} // namespace vcm
