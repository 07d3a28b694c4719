// The histogram views on the space bar and the trip file written at shutdown.
#include "WindowRig.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

// An earlier run: totals, 30 minute bars (4.0 .. 6.9) and two stored trips.
std::string earlierRun()
{
    std::string t = "C;;;5400;18450;412000\r\n";
    for (int i = 0; i < 30; ++i) t += "M;" + std::to_string(4 + i / 10) + "." + std::to_string(i % 10) + "\r\n";
    t += "T;04:12:26;08:10:15;1800;1520;31000;61.5;38;12;55;20;15;10\r\n";
    t += "T;04:12:26;17:42:03;2100;1890;35500;58.0;35;-8;60;18;12;10\r\n";
    return t;
}

// Start-up shows the totals and the earlier run's minute bars; the space bar steps the
// histogram views and comes back to them.
TEST(WindowTrips, StartUpShowsTheLastHistogramAndSpaceStepsItsViews)
{
    WindowRig rig({.tripFile = earlierRun()});
    EXPECT_EQ(rig.text("DistanceValue"), "412.000"); // the totals' figures: TotalsAtStartUp
    // Bars stand on one base line, 6.9 taller than 4.0.
    const QWidget *newest = rig.view().widget({"Histogr", 29}), *oldest = rig.view().widget({"Histogr", 0});
    EXPECT_EQ(std::tuple(rig.text("Histogr", 0), rig.text("Histogr", 29), newest->isVisible(), newest->geometry().bottom()),
              std::tuple("4.0", "6.9", true, oldest->geometry().bottom()));
    EXPECT_GT(newest->height(), oldest->height());

    const char* units[] = {"L/100km", "L/100km", "L/Heure", "km/h", "%Répart", "L/100km"};
    EXPECT_EQ(rig.text("HistogrLabel", 15), units[0]);
    for (int press = 1; press <= 5; ++press) {
        rig.pressKey(Qt::Key_Space);
        // The unit, the legend of the shares view, and layout A left alone.
        EXPECT_EQ(std::tuple(rig.text("HistogrLabel", 15), rig.visible("HistogrLegend", 0), rig.visible("HistoPicture")),
                  std::tuple(units[press], press == 4, true)) << press;
    }
    EXPECT_EQ(rig.text("HistogrLabel", 10), "Mn");
    for (int i = 30; i < 150; ++i) EXPECT_FALSE(rig.visible("Histogr", i)) << i;
    // Back in the per-minute view with the minute bars of the trip file.
    EXPECT_EQ(std::tuple(rig.text("Histogr", 29), rig.visible("Histogr", 29)), std::tuple("6.9", true));
}

TEST(WindowShutdown, ClosingWritesTheTripLineAndTheSettings)
{
    WindowRig rig;
    // 36 km/h for 10 s: 100 m, 3CA frames clock the distance.
    rig.feed("0B4 00 00 00 00 00 0E 10\r\n");
    for (int i = 0; i < 100; ++i) {
        rig.clock.advance(95);
        rig.feed("3CA 00 00 00\r\n");
    }
    rig.tick();
    EXPECT_EQ(rig.readFile("TRAJETS.CSV").find("T;"), std::string::npos);
    rig.close();
    const auto trips = linesOf(rig.readFile("TRAJETS.CSV"));
    ASSERT_GE(trips.size(), 2u);
    EXPECT_TRUE(trips.front().starts_with("C;;;")) << trips.front();
    // The run's line: T, date, time, seconds, millilitres, metres (100 m +- a frame).
    const auto fields = fieldsOf(trips.back());
    ASSERT_GE(fields.size(), 6u) << trips.back();
    EXPECT_EQ(fields[0], "T");
    EXPECT_NEAR(std::stod(fields[5]), 100, 2) << trips.back();
    // Stopped on the way out: the ELM327 got its one space (and no CR after it).
    EXPECT_EQ(rig.adapter.writes.back(), " ");
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Interface=ELM327"), std::string::npos);
}

} // namespace
