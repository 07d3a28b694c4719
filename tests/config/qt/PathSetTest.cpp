// The save-folder dialog as the driver uses it: what it shows on opening, Valider and
// Annuler, the language option and the folder browser, checked in what it chose.
#include "config/qt/PathSet.h"

#include "config/qt/JapaneseFont.h"

#include "DialogRig.h"

#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

struct PathSetRig : ShownDialog<PathSet> {
    explicit PathSetRig(bool japanese = false)
        : ShownDialog({.PortNum = 2, .SavePath = "/home/driver/logs", .Japanese = japanese})
    {
    }
    QLineEdit* text1() const { return control<QLineEdit>(dialog.get(), "Text1"); }
    QRadioButton* option1(int i) const { return control<QRadioButton>(dialog.get(), "Option1", i); }
    const MonitorSettings& chosen() const { return dialog->chosen(); }
};

// Opening shows the stored folder and language (setting the option while loading is no
// user choice).
TEST(PathSet, OpeningShowsTheStoredFolderAndLanguage)
{
    for (bool japanese : {false, true}) {
        PathSetRig rig(japanese);
        EXPECT_EQ(std::tuple(rig.text1()->text(), rig.option1(0)->isChecked(), rig.option1(1)->isChecked(),
                             rig.chosen().Japanese),
                  std::tuple("/home/driver/logs", !japanese, japanese, japanese));
    }
}

// Valider takes the typed folder without its trailing separator and closes; Annuler
// ("Command2" 1) closes and keeps the stored one.
TEST(PathSet, ValiderStoresTheTypedFolderAnnulerKeepsTheStoredOne)
{
    const struct { QString typed; int button; std::string stored; } cases[] = {
        {"C:\\", 0, "C:"}, {"/media/usb", 0, "/media/usb"}, {"/", 0, "/"},
        {"/home/driver/Données/", 0, "/home/driver/Données"}, {"/somewhere/else", 1, "/home/driver/logs"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        PathSetRig rig;
        rig.text1()->setText(c.typed);
        rig.click("Command2", c.button);
        EXPECT_FALSE(rig.dialog->isVisible());
        EXPECT_EQ(rig.chosen().SavePath, c.stored);
    }
}

TEST(PathSet, LanguageChoiceIsTakenAtOnceAndRestoresTheStoredFolder)
{
    PathSetRig rig;
    rig.text1()->setText("/typed/but/not/validated");
    rig.option1(1)->click();
    EXPECT_TRUE(rig.chosen().Japanese);
    EXPECT_EQ(rig.text1()->text(), "/home/driver/logs");
    // A Japanese face where the system has one, else the box keeps its font.
    const auto japanese = japaneseFont();
    EXPECT_EQ(rig.text1()->font().family(), japanese ? japanese->family() : QString("Arial"));

    rig.option1(0)->click(); // Annuler keeping the language: WindowSettings.MenusAndDialogs...
    EXPECT_EQ(rig.text1()->font().family(), "Arial");
}

TEST(PathSet, ExplorerPutsTheChosenFolderInTheBoxOnly)
{
    PathSetRig rig;
    rig.text1()->setText("/media/usb");
    rig.chooser.answer = "/media/usb/trips";
    rig.click("Command1");
    // Opens on the typed folder.
    EXPECT_EQ(rig.chooser.asked, (std::vector<std::pair<QString, QString>>{{"Select Save Folder", "/media/usb"}}));
    EXPECT_EQ(rig.text1()->text(), "/media/usb/trips");
    EXPECT_EQ(rig.chosen().SavePath, "/home/driver/logs");

    rig.chooser.answer = ""; // cancelled
    rig.click("Command1");
    EXPECT_EQ(rig.text1()->text(), "/media/usb/trips");

    rig.click("Command2", 0);
    EXPECT_EQ(rig.chosen().SavePath, "/media/usb/trips");
}

} // namespace
