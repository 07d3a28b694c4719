#include "config/Settings.h"

#include "CutOffFileSystem.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

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
    MonitorSettings readText(const std::string& content)
    {
        dir.write(kIni, content);
        return read();
    }
};

TEST(ReadSettings, NoFileGivesThePresets)
{
    SettingsFolder f;
    const MonitorSettings s = f.read();
    EXPECT_EQ(s.PortNum, 1);
    EXPECT_EQ(s.PortNumM, 0);
    EXPECT_EQ(s.PortNumGPS, 0);
    EXPECT_EQ(s.BPS, 500000);
    EXPECT_TRUE(s.UseElm327);
    EXPECT_FALSE(s.Logfile);
    EXPECT_FALSE(s.SuperLogFile);
    EXPECT_TRUE(s.MetricUnits);
    EXPECT_TRUE(s.Celsius);
    EXPECT_EQ(s.SavePath, kProgramFolder);
    EXPECT_FALSE(s.Japanese);
    EXPECT_FALSE(s.EnableDynamicVolume);
    EXPECT_FALSE(s.EnableGPS);
    EXPECT_FALSE(f.dir.exists(kIni)); // reading creates nothing
}

TEST(WriteSettings, FirstWriteHoldsTheTwelveKeysInFiveSections)
{
    SettingsFolder f;
    ASSERT_TRUE(writeSettings(f.fs, f.ini, f.read()));
    EXPECT_EQ(f.dir.read(kIni),
              "[Comm]\r\n"
              "Interface=ELM327\r\n"
              "PortNum=1\r\n"
              "BPS=500000\r\n"
              "PortNum GPS=0\r\n"
              "[CAN232]\r\n"
              "Logfile=False\r\n"
              "SuperLogfile=False\r\n"
              "[GPS]\r\n"
              "EnableGPS=False\r\n"
              "[Unit]\r\n"
              "System=SI\r\n"
              "Temp=Celsius\r\n"
              "[File]\r\n"
              "SavePath=/opt/VeloxCanMoni\r\n"
              "Language=English\r\n"
              "EnableDynamicVolume=False\r\n");
}

struct FieldCase {
    const char* what;
    std::string ini;
    std::function<long long(const MonitorSettings&)> field;
    long long expected;
};

class ReadField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ReadField, FromFileText)
{
    SettingsFolder f;
    EXPECT_EQ(GetParam().field(f.readText(GetParam().ini)), GetParam().expected) << GetParam().what;
}

const auto portNum = [](const MonitorSettings& s) -> long long { return s.PortNum; };
const auto portNumM = [](const MonitorSettings& s) -> long long { return s.PortNumM; };
const auto portNumGps = [](const MonitorSettings& s) -> long long { return s.PortNumGPS; };
const auto bps = [](const MonitorSettings& s) -> long long { return s.BPS; };
const auto elm = [](const MonitorSettings& s) -> long long { return s.UseElm327; };
const auto logfile = [](const MonitorSettings& s) -> long long { return s.Logfile; };
const auto superLog = [](const MonitorSettings& s) -> long long { return s.SuperLogFile; };
const auto gps = [](const MonitorSettings& s) -> long long { return s.EnableGPS; };
const auto metric = [](const MonitorSettings& s) -> long long { return s.MetricUnits; };
const auto celsius = [](const MonitorSettings& s) -> long long { return s.Celsius; };
const auto japanese = [](const MonitorSettings& s) -> long long { return s.Japanese; };
const auto dynVolume = [](const MonitorSettings& s) -> long long { return s.EnableDynamicVolume; };

INSTANTIATE_TEST_SUITE_P(Numbers, ReadField, ::testing::Values(
    FieldCase{"port 3", "[Comm]\r\nPortNum=3\r\n", portNum, 3},
    FieldCase{"port with letters keeps 1", "[Comm]\r\nPortNum=COM3\r\n", portNum, 1},
    FieldCase{"empty port keeps 1", "[Comm]\r\nPortNum=\r\n", portNum, 1},
    FieldCase{"half rounds to even (down)", "[Comm]\r\nPortNum=2.5\r\n", portNum, 2},
    FieldCase{"half rounds to even (up)", "[Comm]\r\nPortNum=3.5\r\n", portNum, 4},
    FieldCase{"negative port", "[Comm]\r\nPortNum=-2\r\n", portNum, -2},
    FieldCase{"port above 16 bits keeps 1", "[Comm]\r\nPortNum=32768\r\n", portNum, 1},
    FieldCase{"port 32767 fits", "[Comm]\r\nPortNum=32767\r\n", portNum, 32767},
    FieldCase{"port rounding out of range keeps 1", "[Comm]\r\nPortNum=32767.5\r\n", portNum, 1},
    FieldCase{"huge exponent keeps 1", "[Comm]\r\nPortNum=1E999\r\n", portNum, 1},
    FieldCase{"hand-added auxiliary port", "[Comm]\r\nPortNum M=5\r\n", portNumM, 5},
    FieldCase{"GPS port", "[comm]\r\nportnum gps=4\r\n", portNumGps, 4},
    FieldCase{"speed", "[Comm]\r\nBPS=115200\r\n", bps, 115200},
    FieldCase{"speed with exponent", "[Comm]\r\nBPS=1E6\r\n", bps, 1000000},
    FieldCase{"speed above 32 bits keeps 500000", "[Comm]\r\nBPS=3000000000\r\n", bps, 500000},
    FieldCase{"speed 'fast' keeps 500000", "[Comm]\r\nBPS=fast\r\n", bps, 500000},
    FieldCase{"speed with hex form keeps 500000", "[Comm]\r\nBPS=0x1F\r\n", bps, 500000},
    FieldCase{"speed 'inf' keeps 500000", "[Comm]\r\nBPS=inf\r\n", bps, 500000}));

INSTANTIATE_TEST_SUITE_P(Texts, ReadField, ::testing::Values(
    FieldCase{"CANUSB", "[Comm]\r\nInterface=CANUSB\r\n", elm, 0},
    FieldCase{"canusb in lower case is the ELM327", "[Comm]\r\nInterface=canusb\r\n", elm, 1},
    FieldCase{"elm327 in lower case", "[Comm]\r\nInterface=elm327\r\n", elm, 1},
    FieldCase{"unknown adapter is the ELM327", "[Comm]\r\nInterface=Lawicel\r\n", elm, 1},
    FieldCase{"Logfile True", "[CAN232]\r\nLogfile=True\r\n", logfile, 1},
    FieldCase{"Logfile true (lower case) is False", "[CAN232]\r\nLogfile=true\r\n", logfile, 0},
    FieldCase{"SuperLogfile spelling", "[CAN232]\r\nSuperLogfile=True\r\n", superLog, 1},
    FieldCase{"SuperLogFile spelling", "[CAN232]\r\nSuperLogFile=True\r\n", superLog, 1},
    FieldCase{"EnableGPS", "[GPS]\r\nEnableGPS=True\r\n", gps, 1},
    FieldCase{"EnableGPS TRUE is False", "[GPS]\r\nEnableGPS=TRUE\r\n", gps, 0},
    FieldCase{"EnableDynamicVolume", "[File]\r\nEnableDynamicVolume=True\r\n", dynVolume, 1},
    FieldCase{"US units", "[Unit]\r\nSystem=US\r\n", metric, 0},
    FieldCase{"si in lower case is US", "[Unit]\r\nSystem=si\r\n", metric, 0},
    FieldCase{"Fahrenheit", "[Unit]\r\nTemp=Fahrenheit\r\n", celsius, 0},
    FieldCase{"celsius in lower case is Fahrenheit", "[Unit]\r\nTemp=celsius\r\n", celsius, 0},
    FieldCase{"English", "[File]\r\nLanguage=English\r\n", japanese, 0},
    FieldCase{"Japanese", "[File]\r\nLanguage=Japanese\r\n", japanese, 1},
    FieldCase{"a French language name reads as Japanese", "[File]\r\nLanguage=Fran\xE7" "ais\r\n", japanese, 1},
    FieldCase{"english in lower case reads as Japanese", "[File]\r\nLanguage=english\r\n", japanese, 1}));

TEST(ReadSettings, GpsPortKeepsItsPreviousValueWhenNotNumeric)
{
    SettingsFolder f;
    f.dir.write(kIni, "[Comm]\r\nPortNum GPS=none\r\n");
    MonitorSettings previous;
    previous.PortNumGPS = 6;
    EXPECT_EQ(f.read(previous).PortNumGPS, 6);
}

TEST(ReadSettings, SavePathForms)
{
    struct Case { const char* what; std::string ini; std::string expected; };
    const Case cases[] = {
        {"trailing backslash removed", "[File]\r\nSavePath=C:\\Logs\\\r\n", "C:\\Logs"},
        {"drive root loses its backslash", "[File]\r\nSavePath=C:\\\r\n", "C:"},
        {"trailing slash removed", "[File]\r\nSavePath=/home/driver/logs/\r\n", "/home/driver/logs"},
        {"Unix root kept", "[File]\r\nSavePath=/\r\n", "/"},
        {"only one separator removed", "[File]\r\nSavePath=/logs//\r\n", "/logs/"},
        {"empty value stays empty", "[File]\r\nSavePath=\r\n", ""},
        {"missing key gives the program folder", "[File]\r\nLanguage=English\r\n", kProgramFolder},
        {"8-bit path untouched", "[File]\r\nSavePath=D:\\Donn\xE9" "es\r\n", "D:\\Donn\xE9" "es"},
        {"path cut to 259 characters", "[File]\r\nSavePath=" + std::string(300, 'p') + "\r\n", std::string(259, 'p')},
    };
    for (const Case& c : cases) {
        SettingsFolder f;
        EXPECT_EQ(f.readText(c.ini).SavePath, c.expected) << c.what;
    }
}

TEST(WriteSettings, KeepsHandAddedLinesAndReplacesValuesInPlace)
{
    SettingsFolder f;
    f.dir.write(kIni,
                "; car: blue one\r\n"
                "[Comm]\r\n"
                "PortNum=3\r\n"
                "PortNum M=2\r\n"
                "\r\n"
                "[Ports]\r\n"
                "COM3=/dev/ttyUSB0\r\n"
                "[CAN232]\r\n"
                "SuperLogFile=True\r\n"
                "Logfile=True\r\n"
                "[File]\r\n"
                "Language=Fran\xE7" "ais\r\n");
    MonitorSettings s = f.read();
    EXPECT_EQ(s.PortNumM, 2);
    EXPECT_TRUE(s.Japanese);
    s.PortNum = 4;
    s.SuperLogFile = false;
    ASSERT_TRUE(writeSettings(f.fs, f.ini, s));
    EXPECT_EQ(f.dir.read(kIni),
              "; car: blue one\r\n"
              "[Comm]\r\n"
              "PortNum=4\r\n"
              "PortNum M=2\r\n"
              "Interface=ELM327\r\n"
              "BPS=500000\r\n"
              "PortNum GPS=0\r\n"
              "\r\n"
              "[Ports]\r\n"
              "COM3=/dev/ttyUSB0\r\n"
              "[CAN232]\r\n"
              "SuperLogFile=False\r\n"
              "Logfile=True\r\n"
              "[File]\r\n"
              "Language=Japanese\r\n"
              "SavePath=/opt/VeloxCanMoni\r\n"
              "EnableDynamicVolume=False\r\n"
              "[GPS]\r\n"
              "EnableGPS=False\r\n"
              "[Unit]\r\n"
              "System=SI\r\n"
              "Temp=Celsius\r\n");
    EXPECT_EQ(f.read().PortNumM, 2);
}

TEST(WriteSettings, RoundTripOfEveryField)
{
    SettingsFolder f;
    MonitorSettings s;
    s.PortNum = 7;
    s.PortNumGPS = 12;
    s.BPS = 115200;
    s.UseElm327 = false;
    s.Logfile = true;
    s.SuperLogFile = true;
    s.MetricUnits = false;
    s.Celsius = false;
    s.SavePath = "/media/usb/Trajets \xE9t\xE9";
    s.Japanese = true;
    s.EnableDynamicVolume = true;
    s.EnableGPS = true;
    ASSERT_TRUE(writeSettings(f.fs, f.ini, s));
    EXPECT_EQ(f.read(), s);
    // A second write of the same record changes nothing on disk.
    const std::string once = f.dir.read(kIni);
    ASSERT_TRUE(writeSettings(f.fs, f.ini, f.read()));
    EXPECT_EQ(f.dir.read(kIni), once);
}

TEST(WriteSettings, AuxiliaryPortIsNeverWritten)
{
    SettingsFolder f;
    MonitorSettings s = f.read();
    s.PortNumM = 9;
    ASSERT_TRUE(writeSettings(f.fs, f.ini, s));
    EXPECT_EQ(f.dir.read(kIni).find("PortNum M"), std::string::npos);
    EXPECT_EQ(f.read().PortNumM, 0);
}

TEST(WriteSettings, InterruptedWriteLeavesTheOldFileAndItsValues)
{
    SettingsFolder f;
    f.dir.write(kIni, "[Comm]\r\nInterface=CANUSB\r\nPortNum=5\r\nPortNum M=2\r\n[File]\r\nSavePath=/logs\r\n");
    const std::string before = f.dir.read(kIni);
    MonitorSettings changed = f.read();
    changed.PortNum = 9;
    changed.SavePath = "/elsewhere";

    vcm::test::CutOffFileSystem cut;
    EXPECT_FALSE(writeSettings(cut, f.ini, changed));
    EXPECT_EQ(cut.failedReplaces, 1); // the twelve keys go in one replace, not twelve
    EXPECT_EQ(f.dir.read(kIni), before);
    const MonitorSettings after = f.read();
    EXPECT_EQ(after.PortNum, 5);
    EXPECT_FALSE(after.UseElm327);
    EXPECT_EQ(after.SavePath, "/logs");
}

TEST(PortMap, ReadsComKeysOfThePortsSection)
{
    SettingsFolder f;
    f.dir.write(kIni,
                "[Comm]\r\nCOM9=/dev/not-this-one\r\n"
                "[ports]\r\n"
                "COM1=/dev/ttyUSB0\r\n"
                "com3 = /dev/serial/by-id/usb-FTDI_FT232R_USB_UART-if00-port0\r\n"
                "COM1=/dev/ttyUSB9\r\n"
                "COM0=/dev/zero\r\n"
                "COM=/dev/x\r\n"
                "COMx=/dev/x\r\n"
                "COM4=\r\n"
                "COM40000=/dev/x\r\n"
                "LPT1=/dev/lp0\r\n"
                "COM12=/dev/rfcomm0\r\n");
    const std::map<int, std::string> expected{
        {1, "/dev/ttyUSB0"}, {3, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART-if00-port0"}, {12, "/dev/rfcomm0"}};
    EXPECT_EQ(readPortMap(f.fs, f.ini), expected);
}

TEST(PortMap, NoFileOrSectionIsAnEmptyMap)
{
    SettingsFolder f;
    EXPECT_TRUE(readPortMap(f.fs, f.ini).empty());
    f.dir.write(kIni, "[Comm]\r\nPortNum=1\r\n");
    EXPECT_TRUE(readPortMap(f.fs, f.ini).empty());
}

} // namespace
