// The INI file reader and writer: the edge cases of lookups and writes. The plain ones
// (names in any case, missing keys, values replaced in place with the file's spelling,
// keys and sections added) are shown on disk through the settings: SettingsTest.
#include "config/ProfileFile.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;

namespace {

using ReadCase = std::tuple<const char*, std::string, const char*, const char*, const char*, std::size_t, std::string>;
class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, GivesWhatTheProfileFunctionsGive)
{
    const auto& [what, file, section, key, defaultText, buffer, expected] = GetParam();
    EXPECT_EQ(ProfileFile::parse(file).get(section, key, defaultText, buffer), expected) << what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::Values(
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

using WriteCase = std::tuple<const char*, std::string, const char*, const char*, const char*, std::string>;
class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKeyAndKeepsEveryOtherLine)
{
    const auto& [what, before, section, key, value, after] = GetParam();
    ProfileFile p = ProfileFile::parse(before);
    p.set(section, key, value);
    EXPECT_EQ(p.text(), after) << what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::Values(
    WriteCase{"LF file comes back with CR LF", "[Comm]\nPortNum=1\n;note\n", "Comm", "PortNum", "2",
              "[Comm]\r\nPortNum=2\r\n;note\r\n"},
    WriteCase{"a line break cannot start a new key", "[File]\r\n", "File", "SavePath", "/logs\r\n[Comm]\r\nPortNum=9",
              "[File]\r\nSavePath=/logs\r\n"},
    WriteCase{"byte-order mark kept", "\xEF\xBB\xBF[Comm]\r\nPortNum=1\r\n", "Comm", "PortNum", "2",
              "\xEF\xBB\xBF[Comm]\r\nPortNum=2\r\n"}));

} // namespace
