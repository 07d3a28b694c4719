// The window's life: start-up from the settings file, the unit menu, the histogram
// views on the space bar, and the shutdown that writes the settings and the trip file.
#include "WindowRig.h"

#include "link/Monitor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

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
    EXPECT_FALSE(rig.view().isChecked({"m_Metric"}));
    EXPECT_TRUE(rig.view().isChecked({"m_Fahrenheit"}));
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
    auto* fahrenheit = rig.form().findChild<QAction*>(QStringLiteral("m_Fahrenheit"));
    ASSERT_NE(fahrenheit, nullptr);
    fahrenheit->trigger();
    EXPECT_EQ(rig.text("BattTempUnit"), "°F");
    EXPECT_TRUE(rig.view().isChecked({"m_Fahrenheit"}));
    EXPECT_FALSE(rig.view().isChecked({"m_Celsius"}));
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Temp=Fahrenheit"), std::string::npos);
    rig.form().findChild<QAction*>(QStringLiteral("m_us"))->trigger();
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("System=US"), std::string::npos);
    EXPECT_TRUE(rig.view().isChecked({"m_us"}));
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

namespace {

// The Config button opens the setup dialog over the window; its unit choice reaches the
// window's labels and the settings file.
TEST(WindowDialogs, ConfigOpensTheSetupDialogWhoseUnitsReachTheWindow)
{
    WindowRig rig;
    QMetaObject::invokeMethod(rig.view().widget({"Command1", 1}), "click"); // stop: Config shows
    ASSERT_TRUE(rig.visible("Config"));
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        title = dialog->windowTitle();
        if (auto* temp = dialog->findChild<QComboBox*>(QStringLiteral("TempUnits")))
            temp->setCurrentIndex(1); // Fahrenheit
        for (auto* b : dialog->findChildren<QPushButton*>(QStringLiteral("Command1")))
            if (b->property("index").toInt() == 0)
                b->click(); // Valider
    });
    QMetaObject::invokeMethod(rig.view().widget({"Config"}), "click");
    EXPECT_EQ(title.toStdString(), "Configuration Générale");
    EXPECT_EQ(rig.text("BattTempUnit"), "°F");
    EXPECT_TRUE(rig.view().isChecked({"m_Fahrenheit"}));
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Temp=Fahrenheit"), std::string::npos);
}

TEST(WindowPanelsClick, CarTimeClickRestartsTheRunClock)
{
    WindowRig rig;
    rig.clock.advance(90'000);
    const DateTime before = rig.form().monitor().link().RunStart;
    QWidget* carTime = rig.view().widget({"CarTimeValue"});
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), carTime->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(carTime, &press);
    EXPECT_EQ(rig.form().monitor().link().RunStart, rig.clock.now());
    EXPECT_NE(rig.form().monitor().link().RunStart, before);
}

} // namespace
