#include "config/qt/PathSet.h"

#include "config/qt/JapaneseFont.h"

#include "DialogRig.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace vcm;
using namespace vcm::test;

namespace {

struct PathSetRig {
    explicit PathSetRig(std::string savePath = "/home/driver/logs", bool japanese = false) : host(settings)
    {
        settings.PortNum = 2;
        settings.BPS = 500000;
        settings.SavePath = std::move(savePath);
        settings.Japanese = japanese;
        DialogServices services;
        services.folderChooser = &chooser;
        dialog = std::make_unique<PathSet>(settings, host, nullptr, services);
        dialog->show();
    }
    QLineEdit* text1() const { return control<QLineEdit>(dialog.get(), "Text1"); }
    QRadioButton* option1(int i) const { return control<QRadioButton>(dialog.get(), "Option1", i); }
    void click(const char* name, int index = -1) const { control<QPushButton>(dialog.get(), name, index)->click(); }
    int writes() const
    {
        int n = 0;
        for (const Call& c : host.calls) n += c.routine == "WriteSettings";
        return n;
    }

    MonitorSettings settings;
    RecordingHost host;
    AnsweringChooser chooser;
    std::unique_ptr<PathSet> dialog;
};

TEST(PathSet, OpeningShowsTheStoredFolderAndWritesTheFile)
{
    PathSetRig rig;
    EXPECT_EQ(rig.dialog->windowTitle(), "Save Folder Setting ");
    EXPECT_EQ(control<QGroupBox>(rig.dialog.get(), "Frame1")->title(), "Langue");
    EXPECT_EQ(control<QPushButton>(rig.dialog.get(), "Command1")->text(), "Explorer");
    EXPECT_EQ(rig.option1(0)->text(), "Francais");
    EXPECT_EQ(rig.option1(1)->text(), "Japonais");
    EXPECT_EQ(rig.text1()->text(), "/home/driver/logs");
    EXPECT_TRUE(rig.option1(0)->isChecked());
    EXPECT_EQ(rig.writes(), 1);
    EXPECT_EQ(rig.host.fileSettings().PortNum, 2);
}

TEST(PathSet, ValiderStoresTheFolderWithoutItsTrailingSeparator)
{
    struct Case { QString typed; std::string stored; };
    const Case cases[] = {
        {"C:\\", "C:"}, {"/media/usb", "/media/usb"}, {"/", "/"}, {"/home/driver/Données/", "/home/driver/Données"}};
    for (const Case& c : cases) {
        PathSetRig rig;
        rig.text1()->setText(c.typed);
        rig.click("Command2", 0);
        EXPECT_EQ(rig.host.fileSettings().SavePath, c.stored) << c.typed.toStdString();
        EXPECT_NE(rig.host.fileText().find("SavePath=" + c.stored + "\r\n"), std::string::npos);
        EXPECT_EQ(rig.writes(), 2);
        EXPECT_FALSE(rig.dialog->isVisible());
    }
}

TEST(PathSet, AnnulerKeepsTheStoredFolder)
{
    PathSetRig rig;
    rig.text1()->setText("/somewhere/else");
    rig.click("Command2", 1);
    EXPECT_FALSE(rig.dialog->isVisible());
    EXPECT_EQ(rig.host.fileSettings().SavePath, "/home/driver/logs");
    EXPECT_EQ(rig.writes(), 1); // the one write of the opening
}

TEST(PathSet, LanguageChoiceIsStoredAtOnceAndRestoresTheStoredFolder)
{
    PathSetRig rig;
    rig.text1()->setText("/typed/but/not/validated");
    rig.option1(1)->click();
    EXPECT_TRUE(rig.settings.Japanese);
    EXPECT_EQ(rig.text1()->text(), "/home/driver/logs");
    EXPECT_NE(rig.host.fileText().find("Language=Japanese\r\n"), std::string::npos);
    EXPECT_EQ(rig.writes(), 2);
    // A Japanese face where the system has one, else the box keeps its font.
    const auto japanese = japaneseFont();
    EXPECT_EQ(rig.text1()->font().family(), japanese ? japanese->family() : QString("Arial"));

    rig.option1(0)->click();
    EXPECT_FALSE(rig.settings.Japanese);
    EXPECT_EQ(rig.text1()->font().family(), "Arial");
    EXPECT_NE(rig.host.fileText().find("Language=English\r\n"), std::string::npos);
    EXPECT_EQ(rig.writes(), 3);

    rig.click("Command2", 1); // the language stays stored after Annuler
    EXPECT_EQ(rig.host.fileSettings().Japanese, false);
}

TEST(PathSet, OpensOnTheJapaneseOption)
{
    PathSetRig rig("/x", true);
    EXPECT_TRUE(rig.option1(1)->isChecked());
    EXPECT_FALSE(rig.option1(0)->isChecked());
    EXPECT_EQ(rig.writes(), 1); // setting the option while loading is no user choice
    EXPECT_NE(rig.host.fileText().find("Language=Japanese\r\n"), std::string::npos);
}

TEST(PathSet, ExplorerPutsTheChosenFolderInTheBoxOnly)
{
    PathSetRig rig;
    rig.text1()->setText("/media/usb");
    rig.chooser.answer = "/media/usb/trips";
    rig.click("Command1");
    ASSERT_EQ(rig.chooser.asked.size(), 1u);
    EXPECT_EQ(rig.chooser.asked[0].first, "Select Save Folder");
    EXPECT_EQ(rig.chooser.asked[0].second, "/media/usb"); // opens on the typed folder
    EXPECT_EQ(rig.text1()->text(), "/media/usb/trips");
    EXPECT_EQ(rig.writes(), 1);
    EXPECT_EQ(rig.settings.SavePath, "/home/driver/logs");

    rig.chooser.answer = ""; // cancelled
    rig.click("Command1");
    EXPECT_EQ(rig.text1()->text(), "/media/usb/trips");

    rig.click("Command2", 0);
    EXPECT_EQ(rig.host.fileSettings().SavePath, "/media/usb/trips");
}

} // namespace
