// The window's life: start-up from the settings file, the unit menu, the histogram
// views on the space bar, and the shutdown that writes the settings and the trip file.
#include "WindowRig.h"

#include "link/Monitor.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace vcm;
using namespace vcm::test;

namespace {

TEST(WindowStartUp, StartsAcquisitionAtOnceWithTheSettingsUnits)
{
    WindowRig rig({.elm327 = true, .metric = false, .celsius = false});
    // The ELM327 start-up went out without a click, and the window is running.
    EXPECT_NE(rig.adapter.written.find("ATZ\r"), std::string::npos);
    EXPECT_NE(rig.adapter.written.find("ATMA\r"), std::string::npos);
    EXPECT_TRUE(rig.visible("Command1", 1));
    EXPECT_FALSE(rig.visible("Command1", 0));
    EXPECT_FALSE(rig.view().isEnabled({"m_com"}));
    EXPECT_FALSE(rig.view().isEnabled({"m_unit"}));
    // US units and Fahrenheit from the file: the label and the menu check marks say so.
    EXPECT_EQ(rig.text("BattTempUnit"), "°F");
    EXPECT_TRUE(rig.view().isChecked({"m_us"}));
    EXPECT_FALSE(rig.view().isChecked({"m_si"}));
    EXPECT_TRUE(rig.view().isChecked({"m_fahrenheit"}));
    EXPECT_NE(rig.form().windowTitle().indexOf(QStringLiteral("Ver.")), -1);
}

TEST(WindowStartUp, StopAndStartButtons)
{
    WindowRig rig;
    rig.view().widget({"Command1", 1})->metaObject(); // exists
    QMetaObject::invokeMethod(rig.view().widget({"Command1", 1}), "click");
    EXPECT_TRUE(rig.visible("Command1", 0));
    EXPECT_FALSE(rig.visible("Command1", 1));
    EXPECT_TRUE(rig.visible("Config"));
    EXPECT_TRUE(rig.view().isEnabled({"m_com"}));
    // The ELM327 leaves monitoring on two spaces.
    EXPECT_EQ(rig.adapter.writes.back(), "  \r");
    QMetaObject::invokeMethod(rig.view().widget({"Command1", 0}), "click");
    EXPECT_TRUE(rig.visible("Command1", 1));
}

TEST(WindowUnits, UnitMenuActsLikeTheSetupDialogAndIsSaved)
{
    WindowRig rig;
    EXPECT_EQ(rig.text("BattTempUnit"), "°C");
    // The menu is usable while stopped.
    QMetaObject::invokeMethod(rig.view().widget({"Command1", 1}), "click");
    auto* fahrenheit = rig.form().findChild<QAction*>(QStringLiteral("m_fahrenheit"));
    ASSERT_NE(fahrenheit, nullptr);
    fahrenheit->trigger();
    EXPECT_EQ(rig.text("BattTempUnit"), "°F");
    EXPECT_TRUE(rig.view().isChecked({"m_fahrenheit"}));
    EXPECT_FALSE(rig.view().isChecked({"m_celsius"}));
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Temp=Fahrenheit"), std::string::npos);
    rig.form().findChild<QAction*>(QStringLiteral("m_us"))->trigger();
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("System=US"), std::string::npos);
    EXPECT_TRUE(rig.view().isChecked({"m_us"}));
}

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

TEST(WindowNames, EveryControlTheCoreUsesExists)
{
    WindowRig rig({.elm327 = false});
    const char* frames[] = {"t025400000000", "t03050000000000", "t03820014", "t0393100000", "t03A20012",
                            "t03B40F9C00D2", "t0B4700000000001388", "t24470000000000000A", "t34840000000A",
                            "t3C83000040", "t3CA3000000", "t3CB6405000780019", "t3CF3001E1E", "t520300012C",
                            "t52620039", "t52950000000040", "t52C20064", "t54020010", "t5A420020",
                            "t5EC6000000000040"};
    for (int round = 0; round < 3; ++round) {
        for (const char* f : frames)
            rig.feed(std::string(f) + "\r");
        rig.tick(5);
        rig.form().gpsTick();
    }
    rig.pressKey(Qt::Key_Space);
    rig.pressKey(Qt::Key_Space);
    rig.pressKey(Qt::Key_Space);
    rig.pressKey(Qt::Key_Space);
    rig.pressKey(Qt::Key_Space);
    std::string unknown;
    for (const auto& [name, index] : rig.view().unknownControls())
        unknown += name + "(" + std::to_string(index) + ") ";
    EXPECT_TRUE(unknown.empty()) << unknown;
    EXPECT_EQ(rig.text("RpmValue"), "2050"); // 0x40 x 32 = 2048
}

} // namespace
