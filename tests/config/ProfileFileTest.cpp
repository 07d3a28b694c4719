// The INI file reader and writer: what each lookup gives and what each write changes
// (on disk, through the settings: SettingsTest).
#include "config/ProfileFile.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

struct ReadCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    const char* defaultText;
    std::size_t buffer;
    std::string expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesWhatTheProfileFunctionsGive)
{
    const auto& c = GetParam();
    EXPECT_EQ(ProfileFile::parse(c.file).get(c.section, c.key, c.defaultText, c.buffer), c.expected) << c.what;
}

const std::string kCommFile = "[Comm]\r\nInterface=CANUSB\r\nPortNum=3\r\n";

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::Values(
    ReadCase{"plain", kCommFile, "Comm", "PortNum", "1", 20, "3"},
    ReadCase{"section and key in any case", kCommFile, "COMM", "portnum", "1", 20, "3"},
    ReadCase{"missing key", kCommFile, "Comm", "BPS", "500000", 20, "500000"},
    ReadCase{"empty file", "", "Comm", "PortNum", "1", 20, "1"},
    ReadCase{"LF line ends", "[Comm]\nPortNum=4\nBPS=9600\n", "Comm", "BPS", "0", 20, "9600"},
    ReadCase{"spaces around names and '='", "  [ Comm ]  \r\n\tPortNum GPS   =  2  \r\n", "Comm", "PortNum GPS", "0", 20, "2"},
    ReadCase{"key of another section", "[Unit]\r\nPortNum=9\r\n[Comm]\r\n", "Comm", "PortNum", "1", 20, "1"},
    ReadCase{"first of two sections", "[Comm]\r\nPortNum=2\r\n[comm]\r\nPortNum=8\r\n", "Comm", "PortNum", "1", 20, "2"},
    ReadCase{"'=' inside the value", "[File]\r\nSavePath=/a=b\r\n", "File", "SavePath", "", 260, "/a=b"},
    ReadCase{"double quotes dropped", "[File]\r\nSavePath=\"C:\\My Logs\"\r\n", "File", "SavePath", "", 260, "C:\\My Logs"},
    ReadCase{"unmatched quote kept", "[File]\r\nSavePath=\"x y\r\n", "File", "SavePath", "", 260, "\"x y"},
    ReadCase{"value cut to buffer - 1", "[Comm]\r\nInterface=ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n", "Comm", "Interface", "", 20,
             "ABCDEFGHIJKLMNOPQRS"},
    ReadCase{"default cut to buffer - 1", "", "Comm", "Interface", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 20, "ABCDEFGHIJKLMNOPQRS"},
    ReadCase{"value up to its NUL, trimmed", std::string("[File]\r\nSavePath=/logs\v\0x\r\n", 27), "File", "SavePath", "", 260,
             "/logs"},
    ReadCase{"value up to a lone CR", "[File]\r\nSavePath=/logs\rLanguage=English\r\n", "File", "SavePath", "", 260, "/logs"},
    ReadCase{"value up to its NUL", std::string("[Comm]\r\nPortNum=4\0" "5\r\n", 19), "Comm", "PortNum", "1", 20, "4"},
    ReadCase{"UTF-8 byte-order mark", "\xEF\xBB\xBF[Comm]\r\nPortNum=6\r\n", "Comm", "PortNum", "1", 20, "6"}));

struct WriteCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKeyAndKeepsEveryOtherLine)
{
    const auto& c = GetParam();
    ProfileFile p = ProfileFile::parse(c.before);
    p.set(c.section, c.key, c.value);
    EXPECT_EQ(p.text(), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::Values(
    WriteCase{"new file", "", "Comm", "PortNum", "3", "[Comm]\r\nPortNum=3\r\n"},
    WriteCase{"value replaced in place", "[Comm]\r\nA=1\r\nPortNum=1\r\nB=2\r\n", "Comm", "PortNum", "4",
              "[Comm]\r\nA=1\r\nPortNum=4\r\nB=2\r\n"},
    WriteCase{"spelling of the file kept", "[CAN232]\r\nSuperLogFile=False\r\n", "can232", "SuperLogfile", "True",
              "[CAN232]\r\nSuperLogFile=True\r\n"},
    WriteCase{"key added after the section's last line", "[Comm]\r\nPortNum M=2\r\n\r\n[Unit]\r\nSystem=SI\r\n", "Comm",
              "BPS", "9600", "[Comm]\r\nPortNum M=2\r\nBPS=9600\r\n\r\n[Unit]\r\nSystem=SI\r\n"},
    WriteCase{"section added at the end", "; made by hand\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n", "GPS", "EnableGPS", "False",
              "; made by hand\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n[GPS]\r\nEnableGPS=False\r\n"},
    WriteCase{"LF file comes back with CR LF", "[Comm]\nPortNum=1\n;note\n", "Comm", "PortNum", "2",
              "[Comm]\r\nPortNum=2\r\n;note\r\n"},
    WriteCase{"a line break cannot start a new key", "[File]\r\n", "File", "SavePath", "/logs\r\n[Comm]\r\nPortNum=9",
              "[File]\r\nSavePath=/logs\r\n"},
    WriteCase{"byte-order mark kept", "\xEF\xBB\xBF[Comm]\r\nPortNum=1\r\n", "Comm", "PortNum", "2",
              "\xEF\xBB\xBF[Comm]\r\nPortNum=2\r\n"}));

} // namespace
