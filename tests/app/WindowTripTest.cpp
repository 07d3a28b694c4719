// The histogram views on the space bar and the trip file written at shutdown.
#include "WindowRig.h"

#include <gtest/gtest.h>

using namespace vcm;
using namespace vcm::test;

namespace {

TEST(WindowKeys, SpaceStepsTheHistogramViewsAndBack)
{
    WindowRig rig;
    const char* units[] = {"L/100km", "L/100km", "L/Heure", "km/h", "%Répart", "L/100km"};
    EXPECT_EQ(rig.text("HistogrLabel", 15), units[0]);
    for (int press = 1; press <= 5; ++press) {
        rig.pressKey(Qt::Key_Space);
        EXPECT_EQ(rig.text("HistogrLabel", 15), units[press]) << press;
        EXPECT_EQ(rig.visible("HistogrLegend", 0), press == 4) << press;
    }
    EXPECT_EQ(rig.text("HistogrLabel", 10), "Mn");
    for (int i = 30; i < 150; ++i)
        EXPECT_FALSE(rig.visible("Histogr", i)) << i;
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(rig.visible("Histogr", i)) << i;
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
    const std::string before = rig.readFile("TRAJETS.CSV");
    EXPECT_EQ(before.find("T;"), std::string::npos);
    rig.close();
    const std::string trips = rig.readFile("TRAJETS.CSV");
    ASSERT_FALSE(trips.empty());
    EXPECT_EQ(trips.rfind("C;;;", 0), 0u) << trips;
    const auto line = trips.find("\r\nT;");
    ASSERT_NE(line, std::string::npos) << trips;
    // Fields: date, time, seconds, millilitres, metres (100 m +- a frame).
    std::string t = trips.substr(line + 2);
    std::vector<std::string> fields;
    for (std::size_t p = 0, q; (q = t.find_first_of(";\r", p)) != std::string::npos && t[q] != '\r'; p = q + 1)
        fields.push_back(t.substr(p, q - p));
    ASSERT_GE(fields.size(), 6u) << t;
    EXPECT_NEAR(std::stod(fields[5]), 100, 2) << t;
    // Stopped on the way out: the ELM327 got its two spaces.
    EXPECT_NE(rig.adapter.written.find("  \r"), std::string::npos);
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Interface=ELM327"), std::string::npos);
}

} // namespace
