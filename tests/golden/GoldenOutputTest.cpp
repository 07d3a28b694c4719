// Every output the programs leave for short recordings, byte for byte against the files
// kept in tests/golden/<case>: value logs, trip files and messages of replays (both unit
// systems and temperature scales, both adapter forms, a raw log with its GPS log), a candump
// export, decode reports, and live log sets of the simulated car as vcm-record writes them
// (raw log with markers, GPS log, value log, trip file; long enough for the first GPS tick
// and the trip line). The candump input is the first 1200 lines of samples/drive.candump.log.
// After a change meant to alter outputs, write them again and review the diff:
//   VCM_WRITE_GOLDENS=1 ctest --preset default -R Golden
#include "support/ChildProcess.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

namespace vcm {
namespace {

using namespace test;
namespace fs = std::filesystem;

const std::string samples = VCM_SAMPLES_DIR;
const std::string inputs = std::string(VCM_GOLDEN_DIR) + "/inputs";
const std::string start = "2026-12-04 09:10:00";

struct Case {
    const char* name; // folder under tests/golden
    std::vector<std::string> args; // "OUT" stands for the output folder
    const char* console; // where what the program printed is kept, or nullptr
};

std::vector<std::string> replay(const std::string& input, const char* units, const char* temp,
                                std::vector<std::string> more = {})
{
    std::vector<std::string> args{VCM_PROGRAM, "--replay", input, "--out", "OUT", "--units", units, "--temp", temp,
                                  "--start", start};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

const Case cases[] = {
    {"rawlog.si.c", replay(samples + "/CAN_04122026_0910.txt", "si", "c"), "console.txt"},
    {"elm327.si.c", replay(samples + "/elm327-drive.txt", "si", "c"), "console.txt"},
    {"elm327.us.f", replay(samples + "/elm327-drive.txt", "us", "f"), "console.txt"},
    {"canusb.si.c", replay(samples + "/canusb-drive.txt", "si", "c"), "console.txt"},
    {"canusb.us.f", replay(samples + "/canusb-drive.txt", "us", "f"), "console.txt"},
    {"candump.elm327.si.c", replay(inputs + "/slice.candump.log", "si", "c", {"--adapter", "elm327"}), "console.txt"},
    {"candump.canusb.us.f", replay(inputs + "/slice.candump.log", "us", "f", {"--adapter", "canusb"}), "console.txt"},
    {"export", {VCM_PROGRAM, "--replay", samples + "/elm327-drive.txt", "--export-candump", "OUT/elm327-drive.export.log",
                "--start", start}, "console.txt"},
    {"decode.elm327", {VCM_PROGRAM, "--decode", samples + "/elm327-drive.txt"}, "elm327-drive.decoded.txt"},
    {"decode.canusb", {VCM_PROGRAM, "--decode", samples + "/canusb-drive.txt"}, "canusb-drive.decoded.txt"},
    {"decode.candump", {VCM_PROGRAM, "--decode", inputs + "/slice.candump.log"}, "slice.decoded.txt"},
    {"record.elm327", {VCM_RECORD, "--out", "OUT", "--seconds", "1.5", "--seed", "1", "--adapter", "elm327"}, nullptr},
    {"record.canusb", {VCM_RECORD, "--out", "OUT", "--seconds", "2.1", "--seed", "1", "--adapter", "canusb"}, nullptr},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// What a test shows when two files differ: the first line where they part.
std::string firstDifference(const std::string& want, const std::string& got)
{
    std::size_t at = 0, line = 1;
    while (at < want.size() && at < got.size() && want[at] == got[at]) line += want[at++] == '\n';
    const auto lineAt = [&](const std::string& s) {
        const auto begin = s.rfind('\n', at == 0 ? 0 : at - 1);
        const auto from = begin == std::string::npos || at == 0 ? 0 : begin + 1;
        return s.substr(from, s.find('\n', from) - from);
    };
    return "line " + std::to_string(line) + "\n  kept: " + lineAt(want) + "\n  made: " + lineAt(got);
}

// Messages name the input by its path: keep only the part inside the repository.
std::string inRepository(std::string text, const std::string& folder, const std::string& name)
{
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;) text.replace(at, folder.size(), name);
    return text;
}

class Golden : public ::testing::TestWithParam<Case> {};

TEST_P(Golden, OutputsAreThoseKept)
{
    const Case& c = GetParam();
    TempFolder out;
    std::vector<std::string> args = c.args;
    for (auto& a : args)
        if (a.rfind("OUT", 0) == 0) a = out.path() + a.substr(3);
    Child child(args);
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.waitExit(std::chrono::seconds(120)), 0) << child.text();
    if (c.console) {
        std::string text = inRepository(child.text(), out.path(), "OUT");
        text = inRepository(inRepository(text, VCM_GOLDEN_DIR, "tests/golden"), samples, "samples");
        // The replay's speed is the machine's, not the program's.
        text = std::regex_replace(text, std::regex(R"( in [0-9.]+ s \([0-9]+ times real time\))"), "");
        out.write(c.console, text);
    }
    const fs::path kept = fs::path(VCM_GOLDEN_DIR) / c.name;
    if (std::getenv("VCM_WRITE_GOLDENS")) {
        fs::remove_all(kept);
        fs::create_directories(kept);
        for (const auto& name : out.names()) fs::copy_file(out.file(name), kept / name);
        GTEST_SKIP() << "written " << kept;
    }
    std::vector<std::string> keptNames;
    for (const auto& e : fs::directory_iterator(kept)) keptNames.push_back(e.path().filename().string());
    std::sort(keptNames.begin(), keptNames.end());
    EXPECT_EQ(out.names(), keptNames);
    for (const auto& name : keptNames) {
        const std::string want = readFile((kept / name).string()), got = out.read(name);
        EXPECT_TRUE(want == got) << name << " differs at " << firstDifference(want, got);
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, Golden, ::testing::ValuesIn(cases),
                         [](const auto& p) { return std::regex_replace(p.param.name, std::regex("\\."), "_"); });

} // namespace
} // namespace vcm
