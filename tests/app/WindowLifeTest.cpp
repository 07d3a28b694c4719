// The window's life: start-up from the settings file, the stop and start buttons, the
// unit menu and the setup dialog, and the run clock.
#include "WindowRig.h"

#include "config/qt/DialogRig.h"
#include "support/MonitorTestView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

// Start, Stop and Config shown; the port and unit menus enabled.
auto runControls(WindowRig& rig)
{
    return std::tuple(rig.visible("Command1", 0), rig.visible("Command1", 1), rig.visible("Config"),
                      rig.view().isEnabled({"m_com"}), rig.view().isEnabled({"m_unit"}));
}
const auto kRunning = std::tuple(false, true, false, false, false);
const auto kStopped = std::tuple(true, false, true, true, true);

TEST(WindowStartUp, StartsAcquisitionAtOnceWithTheSettingsUnitsAndStopsOnClick)
{
    WindowRig rig({.elm327 = true, .metric = false, .celsius = false});
    // The ELM327 start-up went out without a click, and the window is running.
    EXPECT_NE(rig.adapter.written.find("ATMA\r"), std::string::npos);
    EXPECT_EQ(runControls(rig), kRunning);
    // US units and Fahrenheit from the file: the label and the menu check marks say so.
    EXPECT_EQ(std::tuple(rig.text("BattTempUnit"), rig.view().isChecked({"m_us"}), rig.view().isChecked({"m_Metric"}),
                         rig.view().isChecked({"m_Fahrenheit"})),
              std::tuple("°F", true, false, true));
    EXPECT_EQ(rig.text("BattTempValue"), "0") << "no temperature decoded yet: nothing to convert";
    EXPECT_NE(rig.form().windowTitle().indexOf(QStringLiteral("Ver.")), -1);

    rig.click("Command1", 1); // stop
    EXPECT_EQ(runControls(rig), kStopped);
    EXPECT_EQ(rig.adapter.writes.back(), " "); // one character ends monitoring; a CR would repeat ATMA
    rig.click("Command1", 0); // start
    EXPECT_TRUE(rig.visible("Command1", 1));
    rig.form().gpsTick(); // the GPS timer: no receiver, no port, no altitude trend
    EXPECT_FALSE(rig.gps.isOpen());
    EXPECT_FALSE(rig.visible("GpsTrace"));
}

// The start-up dialogue runs once the window is on screen; an adapter that never
// answers costs each command its time-out and the window ends up running.
TEST(WindowStartUp, TheWindowIsShownBeforeTheAdapterIsAskedAnything)
{
    bool shownAtFirstCommand = false;
    WindowRig rig({.adapterScript = [&](const std::string& written) {
        if (written == "ATZ\r")
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("MainForm")) shownAtFirstCommand = w->isVisible();
        return std::string();
    }});
    EXPECT_TRUE(shownAtFirstCommand);
    EXPECT_NE(rig.adapter.written.find("ATMA\r"), std::string::npos);
    EXPECT_TRUE(rig.visible("Command1", 1));
}

// As the program starts: an adapter port that cannot be opened is reported over the
// painted dashboard.
TEST(WindowStartUp, APortThatCannotOpenIsReportedOverThePaintedWindow)
{
    WindowRig rig({.startWhenPainted = true, .adapterFails = true});
    ASSERT_EQ(rig.messages.size(), 1u);
    // Its text: AdapterControl.AdapterPortThatCannotOpen...
    EXPECT_EQ(std::tuple(rig.messages[0].title, rig.messages[0].afterPaint), std::tuple("PROBLEME!", true));
    EXPECT_TRUE(rig.visible("Command1", 0)) << "stopped, Start offered";
}

// While stopped, the unit menu and the Config button's setup dialog both change the
// window's labels, the menu's check marks and the settings file, written once each time;
// so does the save-folder dialog.
TEST(WindowSettings, MenusAndDialogsChangeTheSettingsAndSaveThemOnce)
{
    WindowRig rig;
    rig.click("Command1", 1);
    struct Step { const char *action, *unchecked, *label, *unit, *fileLine; };
    const Step steps[] = {{"m_Fahrenheit", "m_Celsius", "BattTempUnit", "°F", "Temp=Fahrenheit"},
                          {"m_us", "m_Metric", "SpeedUnit", "mph", "System=US"},
                          {"m_Metric", "m_us", "SpeedUnit", "km/h", "System=SI"},
                          {"m_us", "m_Metric", "SpeedUnit", "mph", "System=US"}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.action);
        const int changes = rig.diskChanges();
        rig.form().findChild<QAction*>(QString::fromLatin1(s.action))->trigger();
        EXPECT_EQ(rig.diskChanges() - changes, 1);
        EXPECT_EQ(std::tuple(rig.text(s.label), rig.view().isChecked({s.action}), rig.view().isChecked({s.unchecked})),
                  std::tuple(s.unit, true, false));
        EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find(s.fileLine), std::string::npos);
    }

    ASSERT_TRUE(rig.visible("Config"));
    QString title;
    int dialogLightness = 255;
    answerModal([&title, &dialogLightness](QWidget& dialog) {
        title = dialog.windowTitle();
        dialogLightness = dialog.palette().color(QPalette::Window).lightness();
        control<QComboBox>(&dialog, "TempUnits")->setCurrentIndex(0); // Celsius
        control<QPushButton>(&dialog, "Command1", 0)->click();       // Valider
    });
    int changes = rig.diskChanges();
    rig.click("Config");
    EXPECT_EQ(title.toStdString(), "Configuration Générale");
    EXPECT_LT(dialogLightness, 60) << "the dialog in the dashboard's dark colours";
    EXPECT_EQ(rig.diskChanges() - changes, 1) << "one Valider, one write of the settings file";
    EXPECT_EQ(std::tuple(rig.text("BattTempUnit"), rig.text("SpeedUnit"), rig.view().isChecked({"m_Celsius"})),
              std::tuple("°C", "mph", true));
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("[Unit]\r\nSystem=US\r\nTemp=Celsius\r\n"), std::string::npos);

    // The save-folder dialog's language is kept even after Annuler: one write once it closes.
    answerModal([](QWidget& dialog) {
        control<QRadioButton>(&dialog, "Option1", 1)->click(); // Japonais
        control<QPushButton>(&dialog, "Command2", 1)->click(); // Annuler
    });
    changes = rig.diskChanges();
    rig.form().findChild<QAction*>(QStringLiteral("m_ss"))->trigger();
    EXPECT_EQ(rig.diskChanges() - changes, 1);
    EXPECT_NE(rig.readFile("VeloxCanMoni.INI").find("Language=Japanese"), std::string::npos);
}

TEST(WindowPanelsClick, CarTimeClickRestartsTheRunClock)
{
    WindowRig rig;
    rig.clock.advance(90'000); // the run started 90 s ago
    QWidget* carTime = rig.view().widget({"CarTimeValue"});
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), carTime->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(carTime, &press);
    EXPECT_EQ(MonitorTestView::link(rig.form().monitor()).RunStart, rig.clock.now());
}

} // namespace
