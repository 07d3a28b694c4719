// The settings file as the program reads and writes it: presets, every key's text,
// hand-edited files kept, round trips, power cuts, and the port map.
#include "config/Settings.h"

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace vcm;
using vcm::test::TempFolder;

namespace {

const std::string kIni = "VeloxCanMoni.INI";
const std::string kProgramFolder = "/opt/VeloxCanMoni";

struct SettingsFolder {
    TempFolder dir;
    DiskFileSystem fs;
    std::string ini = dir.file(kIni);

    MonitorSettings read(const MonitorSettings& previous = {}) { return readSettings(fs, ini, kProgramFolder, previous); }
    // The settings in use before the read differ from the presets in every field.
    MonitorSettings readText(const std::string& content)
    {
        dir.write(kIni, content);
        return read({9, 9, 6, 9600, false, true, true, false, false, "/old", true, true, true});
    }
};

MonitorSettings presets()
{
    return {.PortNum = 1, .BPS = 500000, .UseElm327 = true, .MetricUnits = true, .Celsius = true, .SavePath = kProgramFolder};
}

TEST(Settings, NoFileGivesThePresetsAndTheFirstWriteHoldsTwelveKeys)
{
    SettingsFolder f;
    EXPECT_EQ(f.read(), presets());
    EXPECT_FALSE(f.dir.exists(kIni)); // reading creates nothing
    ASSERT_TRUE(writeSettings(f.fs, f.ini, f.read()));
    EXPECT_EQ(f.dir.read(kIni), "[Comm]\r\nInterface=ELM327\r\nPortNum=1\r\nBPS=500000\r\nPortNum GPS=0\r\n"
                                "[CAN232]\r\nLogfile=False\r\nSuperLogfile=False\r\n"
                                "[GPS]\r\nEnableGPS=False\r\n"
                                "[Unit]\r\nSystem=SI\r\nTemp=Celsius\r\n"
                                "[File]\r\nSavePath=/opt/VeloxCanMoni\r\nLanguage=English\r\nEnableDynamicVolume=False\r\n");
}

// Each case: file text, and how the result differs from the presets. Only a GPS port
// that is not a number keeps the value it had.
TEST(Settings, ReadFromFileText)
{
    using S = MonitorSettings&;
    const std::pair<const char*, std::function<void(S)>> cases[] = {
        {"[comm]\r\nportnum=3\r\nPortNum M=5\r\nPortNum GPS=4\r\nBPS=115200\r\n",
         [](S s) { s.PortNum = 3; s.PortNumM = 5; s.PortNumGPS = 4; s.BPS = 115200; }},
        {"[Comm]\r\nPortNum=COM3\r\nBPS=0x1F\r\nPortNum M=inf\r\nPortNum GPS=none\r\n", [](S s) { s.PortNumGPS = 6; }},
        {"[Comm]\r\nPortNum=2.5\r\nPortNum GPS=3.5\r\nBPS=1E6\r\n",  // halves to even
         [](S s) { s.PortNum = 2; s.PortNumGPS = 4; s.BPS = 1000000; }},
        {"[Comm]\r\nPortNum=-2\r\nPortNum GPS=32767\r\n", [](S s) { s.PortNum = -2; s.PortNumGPS = 32767; }},
        // Out of the field's range: the preset stays.
        {"[Comm]\r\nPortNum=32768\r\nPortNum M=32767.5\r\nBPS=3000000000\r\nPortNum GPS=1E999\r\n",
         [](S s) { s.PortNumGPS = 6; }},
        {"[Comm]\r\nInterface=CANUSB\r\n", [](S s) { s.UseElm327 = false; }},
        {"[Comm]\r\nInterface=canusb\r\n", [](S) {}},
        {"[CAN232]\r\nLogfile=True\r\nSuperLogFile=True\r\n[GPS]\r\nEnableGPS=True\r\n[File]\r\nEnableDynamicVolume=True\r\n",
         [](S s) { s.Logfile = s.SuperLogFile = s.EnableGPS = s.EnableDynamicVolume = true; }},
        {"[CAN232]\r\nLogfile=true\r\nSuperLogfile=TRUE\r\n", [](S) {}},
        {"[Unit]\r\nSystem=US\r\nTemp=Fahrenheit\r\n", [](S s) { s.MetricUnits = s.Celsius = false; }},
        {"[Unit]\r\nSystem=si\r\nTemp=celsius\r\n", [](S s) { s.MetricUnits = s.Celsius = false; }},
        {"[File]\r\nLanguage=Japanese\r\n", [](S s) { s.Japanese = true; }},
        {"[File]\r\nSavePath=C:\\Logs\\\r\n", [](S s) { s.SavePath = "C:\\Logs"; }},
        {"[File]\r\nSavePath=/home/d/logs//\r\n", [](S s) { s.SavePath = "/home/d/logs"; }},
        {"[File]\r\nSavePath=\\\\\r\n", [](S s) { s.SavePath = "\\"; }},
        {"[File]\r\nSavePath=D:\\Logs\\ \v\\\r\n", [](S s) { s.SavePath = "D:\\Logs"; }},
        {"[File]\r\nSavePath=\r\n", [](S s) { s.SavePath = ""; }},
        {"[File]\r\nSavePath=D:\\Donn\xE9" "es\r\n", [](S s) { s.SavePath = "D:\\Donn\xE9" "es"; }}};
    for (const auto& [ini, change] : cases) {
        SettingsFolder f;
        MonitorSettings expected = presets();
        change(expected);
        EXPECT_EQ(f.readText(ini), expected) << ini;
    }
}

TEST(Settings, WriteKeepsHandAddedLinesAndReplacesValuesInPlace)
{
    SettingsFolder f;
    f.dir.write(kIni, "; blue car\r\n[Comm]\r\nPortNum=3\r\nPortNum M=2\r\n\r\n[Ports]\r\nCOM3=/dev/ttyUSB0\r\n"
                      "[CAN232]\r\nSuperLogFile=True\r\n[File]\r\nLanguage=Fran\xE7" "ais\r\n");
    MonitorSettings s = f.read();
    s.PortNum = 4;
    s.PortNumM = 9; // never written
    s.SuperLogFile = false;
    ASSERT_TRUE(writeSettings(f.fs, f.ini, s));
    EXPECT_EQ(f.dir.read(kIni),
              "; blue car\r\n[Comm]\r\nPortNum=4\r\nPortNum M=2\r\nInterface=ELM327\r\nBPS=500000\r\nPortNum GPS=0\r\n\r\n"
              "[Ports]\r\nCOM3=/dev/ttyUSB0\r\n"
              "[CAN232]\r\nSuperLogFile=False\r\nLogfile=False\r\n"
              "[File]\r\nLanguage=Japanese\r\nSavePath=/opt/VeloxCanMoni\r\nEnableDynamicVolume=False\r\n"
              "[GPS]\r\nEnableGPS=False\r\n[Unit]\r\nSystem=SI\r\nTemp=Celsius\r\n");
}

TEST(Settings, RoundTripOfEveryField)
{
    SettingsFolder f;
    MonitorSettings s{7, 0, 12, 115200, false, true, true, false, false, "/media/usb/Trajets \xE9t\xE9", true, true, true};
    ASSERT_TRUE(writeSettings(f.fs, f.ini, s));
    EXPECT_EQ(f.read(), s);
    const std::string once = f.dir.read(kIni);
    ASSERT_TRUE(writeSettings(f.fs, f.ini, f.read()));
    EXPECT_EQ(f.dir.read(kIni), once);
}

TEST(Settings, InterruptedWriteLeavesTheOldFileAndItsValues)
{
    SettingsFolder f;
    f.dir.write(kIni, "[Comm]\r\nInterface=CANUSB\r\nPortNum=5\r\n[File]\r\nSavePath=/logs\r\n");
    const std::string before = f.dir.read(kIni);

    vcm::test::FaultyFileSystem cut;
    cut.diskFull = cut.cutPowerDuringReplace = true;
    EXPECT_FALSE(writeSettings(cut, f.ini, presets())); // a new port, adapter and save folder
    EXPECT_EQ(cut.failedReplaces, 1); // the twelve keys go in one replace, not twelve
    EXPECT_EQ(f.dir.read(kIni), before);
    EXPECT_EQ(f.read().PortNum, 5);
}

// A settings file that cannot be read gives the presets and a message naming it, and
// is never replaced by presets (its port map and hand-added lines would be lost).
TEST(Settings, UnreadableFileGivesPresetsAndIsNeverWrittenOver)
{
    SettingsFolder f;
    const std::string kept = "[Comm]\r\nPortNum=7\r\n[Ports]\r\nCOM7=/dev/ttyUSB3\r\n";
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"read error", f.ini, "Input/output error"},
        {"a folder", f.dir.path(), "Is a directory"},
        {"a device that never ends", "/dev/zero", "larger than 1048576 bytes"}};
    for (const auto& [name, path, reason] : cases) {
        SCOPED_TRACE(name);
        f.dir.write(kIni, kept);
        vcm::test::FaultyFileSystem disk;
        disk.unreadable.insert(f.ini);
        EXPECT_EQ(readSettings(disk, path, kProgramFolder).PortNum, 1);
        EXPECT_EQ(settingsReadProblem(disk, path).find("could not read " + path + ": " + reason), 0u);
        EXPECT_FALSE(writeSettings(disk, path, MonitorSettings{}));
        EXPECT_EQ(f.dir.read(kIni), kept);
    }
}

TEST(Settings, PortMapReadsComKeysOfThePortsSection)
{
    SettingsFolder f;
    EXPECT_TRUE(readPortMap(f.fs, f.ini).empty());
    f.dir.write(kIni, "[Comm]\r\nCOM9=/dev/not-this-one\r\n[ports]\r\nCOM1=/dev/ttyUSB0\r\n"
                      "com3 = /dev/serial/by-id/usb-FTDI-if00\r\nCOM1=/dev/ttyUSB9\r\nCOM0=/dev/zero\r\nCOMx=/dev/x\r\n"
                      "COM4=\r\nCOM40000=/dev/x\r\nLPT1=/dev/lp0\r\nCOM12=/dev/rfcomm0\r\n");
    const std::map<int, std::string> expected{{1, "/dev/ttyUSB0"}, {3, "/dev/serial/by-id/usb-FTDI-if00"}, {12, "/dev/rfcomm0"}};
    EXPECT_EQ(readPortMap(f.fs, f.ini), expected);
}

} // namespace
