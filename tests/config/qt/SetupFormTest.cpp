#include "config/qt/SetupForm.h"

#include "config/qt/PathSet.h"

#include "DialogRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

using Shown = std::vector<std::pair<QString, QString>>;

const MonitorSettings kPresets{.PortNum = 1, .BPS = 500000, .UseElm327 = true, .MetricUnits = true, .Celsius = true,
                               .SavePath = "/home/driver/logs"};

struct SetupRig : ShownDialog<SetupForm> {
    using ShownDialog::ShownDialog;
    QComboBox* combo(const char* name, int index = -1) const { return control<QComboBox>(dialog.get(), name, index); }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(dialog.get(), name); }
    QRadioButton* option(int index) const { return control<QRadioButton>(dialog.get(), "Interface", index); }
    void selectText(const char* name, int index, const QString& text) const
    {
        QComboBox* c = combo(name, index);
        const int at = c->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        c->setCurrentIndex(at);
    }
};

// The form as the driver sees it (CAN port | GPS port | distance | temperature | checked
// interface | ticked boxes); Valider without a change takes the settings it opened on.
TEST(SetupForm, OpensOnTheStoredSettingsAndValiderKeepsThem)
{
    const std::pair<MonitorSettings, QString> cases[] = {
        {kPresets, "COM 1|without|Metric|Celsius|Elm327|"},
        {{.PortNum = 3, .PortNumGPS = 5, .Logfile = true, .SavePath = "/logs", .EnableGPS = true},
         "COM 3|COM 5|USA|Fahrenheit|CanUsb|logfile GPSTracking "},
        {{.PortNum = 20, .UseElm327 = true, .SuperLogFile = true, .MetricUnits = true, .Celsius = true, .SavePath = ""},
         "COM 20|without|Metric|Celsius|Elm327|Superlogfile "}};
    for (const auto& [stored, expected] : cases) {
        SetupRig rig(stored);
        QStringList seen;
        for (auto [name, index] : {std::pair{"Combo1", 0}, {"Combo1", 2}, {"DistanceUnits", -1}, {"TempUnits", -1}})
            seen << rig.combo(name, index)->currentText();
        seen << QString(rig.option(0)->isChecked() ? "Elm327" : "") + (rig.option(1)->isChecked() ? "CanUsb" : "");
        QString boxes;
        for (const char* box : {"logfile", "Superlogfile", "GPSTracking"})
            if (rig.check(box)->isChecked()) boxes += QString(box) + " ";
        EXPECT_EQ(seen.join('|') + "|" + boxes, expected);
        rig.click("Command1", 0);
        EXPECT_EQ(rig.dialog->result(), QDialog::Accepted);
        EXPECT_EQ(rig.dialog->chosen(), stored) << expected.toStdString();
    }
}

// Ports are stored by number, shown with their devices; the same port for CAN and GPS is
// refused with a message, nothing is taken and the choices stay in the form.
TEST(SetupForm, PortsAreStoredByNumberOrRefusedWhenTheSame)
{
    const std::map<int, std::string> devices{{1, "/dev/ttyUSB0"}, {7, "/dev/rfcomm0"}, {25, "/dev/ttyACM0"}};
    // Stored ports, the ports chosen (nullptr: left), the CAN port shown and the ports taken (-1: refused).
    const struct { std::int16_t storedCan, storedGps; const char *can, *gps; QString shownCan;
                   std::int16_t expectedCan, expectedGps; } cases[] = {
        {1, 4, "COM 3", "without", "COM 3", 3, 0},
        {1, 0, "COM 7  (/dev/rfcomm0)", "COM 2", "COM 7  (/dev/rfcomm0)", 7, 2},
        {25, 33, nullptr, nullptr, "COM 25  (/dev/ttyACM0)", 25, 33}, // outside the lists: shown and kept
        {1, 0, "COM 3", "COM 3", "COM 3", -1, -1},
        {0, 0, nullptr, "without", "", -1, -1}, // no CAN selection meets GPS "without"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shownCan.toStdString() + " / " + (c.gps ? c.gps : "-"));
        MonitorSettings stored = kPresets;
        stored.PortNum = c.storedCan;
        stored.PortNumGPS = c.storedGps;
        SetupRig rig(stored, devices);
        EXPECT_EQ(rig.combo("Combo1", 0)->itemText(0), "COM 1  (/dev/ttyUSB0)");
        if (c.can) rig.selectText("Combo1", 0, c.can);
        if (c.gps) rig.selectText("Combo1", 2, c.gps);
        rig.check("logfile")->setChecked(true);
        EXPECT_EQ(rig.combo("Combo1", 0)->currentText(), c.shownCan);
        rig.click("Command1", 0);
        if (c.expectedCan >= 0) {
            EXPECT_TRUE(rig.reporter.shown.empty());
            const MonitorSettings& chosen = rig.dialog->chosen();
            EXPECT_EQ(std::tuple(chosen.PortNum, chosen.PortNumGPS, chosen.Logfile),
                      std::tuple(c.expectedCan, c.expectedGps, true));
            continue;
        }
        EXPECT_EQ(rig.reporter.shown,
                  (Shown{{"PROBLEME !", "Même Port pour CAN et GPS . Changez un des deux ports."}}));
        EXPECT_TRUE(rig.dialog->isVisible());
        EXPECT_EQ(rig.combo("Combo1", 2)->currentText(), c.gps);
        EXPECT_TRUE(rig.check("logfile")->isChecked());
        EXPECT_EQ(rig.dialog->chosen(), stored);
    }
}

// Valider takes every choice; Annuler none.
TEST(SetupForm, ValiderTakesEveryChoiceAnnulerNone)
{
    const MonitorSettings changed{.PortNum = 4, .PortNumGPS = 6, .BPS = 500000, .Logfile = true, .SuperLogFile = true,
                                  .SavePath = "/home/driver/logs", .EnableGPS = true};
    for (int button : {0, 1}) {
        SetupRig rig(kPresets);
        rig.option(1)->click(); // every control moved away from the presets
        rig.selectText("Combo1", 0, "COM 4");
        rig.selectText("Combo1", 2, "COM 6");
        for (const char* box : {"logfile", "Superlogfile", "GPSTracking"}) rig.check(box)->setChecked(true);
        rig.selectText("DistanceUnits", -1, "USA");
        rig.selectText("TempUnits", -1, "Fahrenheit");
        rig.click("Command1", button);
        EXPECT_TRUE(rig.reporter.shown.empty());
        EXPECT_FALSE(rig.dialog->isVisible());
        EXPECT_EQ(rig.dialog->result(), button == 0 ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(rig.dialog->chosen(), button == 0 ? changed : kPresets) << button;
    }
}

// The folder chosen in the save-folder dialog is kept even when this dialog is cancelled.
TEST(SetupForm, SetPathOpensTheSaveFolderDialogAndReturns)
{
    SetupRig rig(kPresets);
    rig.selectText("Combo1", 0, "COM 5");
    QString folderShown = "(no save-folder dialog)";
    answerModal([&folderShown](QWidget& dialog) {
        if (!qobject_cast<PathSet*>(&dialog)) return;
        folderShown = control<QLineEdit>(&dialog, "Text1")->text();
        control<QLineEdit>(&dialog, "Text1")->setText("/media/usb/");
        control<QPushButton>(&dialog, "Command2", 0)->click();
    });
    rig.click("SetPath");
    EXPECT_EQ(folderShown, "/home/driver/logs");
    EXPECT_TRUE(rig.dialog->isVisible());
    EXPECT_EQ(rig.combo("Combo1", 0)->currentText(), "COM 5"); // this dialog is unchanged
    rig.click("Command1", 1);
    EXPECT_EQ(rig.dialog->chosen().SavePath, "/media/usb");
    EXPECT_EQ(rig.dialog->chosen().PortNum, 1); // Annuler: the port is not taken
}

} // namespace
