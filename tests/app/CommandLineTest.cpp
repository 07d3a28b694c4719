// The command line of both programs: what each option sets, what is refused and why,
// and --help, --version and a mistake answered by the programs with no display at all.
#include "app/CommandLine.h"

#include "../replay/ReplayFixture.h"
#if !defined(_WIN32)
#include "support/ChildProcess.h"
#endif

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace vcm {
namespace {

using namespace test;
using Args = std::vector<std::string>;

TEST(CommandLine, ReadsTheOptionsOfEveryMode)
{
    UtcZone utc;
    const CommandLine sim = parseCommandLine({"--simulate", "canusb", "--screenshot", "a.png", "--after", "800",
                                              "--layout", "D"},
                                             Program::Dashboard);
    ASSERT_EQ(sim.mode, ProgramMode::Dashboard) << sim.message;
    const DashboardOptions& d = sim.dashboard;
    EXPECT_EQ(std::tuple(d.simulate, d.screenshot, d.screenshotAfterMs, d.layoutSteps), std::tuple("canusb", "a.png", 800, 3));
    EXPECT_EQ(parseCommandLine({"--simulate"}, Program::Dashboard).dashboard.simulate, "elm327");
    EXPECT_FALSE(parseCommandLine({}, Program::Dashboard).dashboard.simulate);

    const CommandLine replay = parseCommandLine({"--replay", "CAN_04122026_0910.txt", "--out", "/tmp/x", "--gps", "g.nmea",
                                                 "--adapter", "canusb", "--units", "us", "--temp", "f", "--bps", "115200",
                                                 "--start", "2026-12-04 09:10:05", "--force"},
                                                Program::Headless);
    ASSERT_EQ(replay.mode, ProgramMode::Replay) << replay.message;
    const ReplayCommandLine& r = replay.replay;
    EXPECT_EQ(std::tuple(r.input, r.outFolder, r.gpsPath, r.exportPath),
              std::tuple("CAN_04122026_0910.txt", "/tmp/x", "g.nmea", ""));
    EXPECT_EQ(std::tuple(r.elm327, r.metric, r.celsius, r.bitsPerSecond, r.force, r.gui),
              std::tuple(false, false, false, 115200, true, false));
    EXPECT_EQ(r.startEpoch, 1796375405); // 2026-12-04 09:10:05 UTC

    // The program without widgets logs live without being told.
    for (const Args& args : {Args{"--settings", "v.INI", "--status-every", "2"}, Args{"--headless", "--settings=v.INI", "--status-every", "2"}}) {
        const CommandLine live = parseCommandLine(args, Program::Headless);
        ASSERT_EQ(live.mode, ProgramMode::Headless) << live.message;
        EXPECT_EQ(std::tuple(live.headless.settingsFile, live.headless.statusEverySeconds), std::tuple("v.INI", 2));
    }
    // "-" is standard input, not a forgotten value.
    EXPECT_EQ(parseCommandLine({"--live-candump", "-"}, Program::Headless).headless.liveCandump, "-");
    EXPECT_EQ(parseCommandLine({"--live-candump", "-"}, Program::Dashboard).dashboard.liveCandump, "-");
}

TEST(CommandLine, RefusesWhatItCannotUseSayingWhy)
{
    struct Case { Program program; Args args; const char* says; };
    const Case cases[] = {
        {Program::Dashboard, {"--verbose"}, "Unknown option 'verbose'"},
        {Program::Headless, {"--replay", "a", "--frobnicate"}, "Unknown option 'frobnicate'"},
        {Program::Dashboard, {"--replay"}, "Missing value after '--replay'"},
        {Program::Dashboard, {"--decode", "--adapter", "canusb", "d.txt"}, "--decode needs a value"},
        {Program::Dashboard, {"--simulate", "slcan"}, "--simulate takes elm327 or canusb, not \"slcan\""},
        {Program::Dashboard, {"drive.txt"}, "unexpected argument \"drive.txt\""},
        {Program::Dashboard, {"--layout", "E"}, "--layout takes A, B, C or D"},
        {Program::Dashboard, {"--screenshot", "a.png", "--after", "soon"}, "--after takes milliseconds"},
        {Program::Dashboard, {"--export-candump", "x.log"}, "--export-candump goes with --replay only"},
        {Program::Dashboard, {"--decode", "d", "--replay", "r"}, "--decode and --replay are different modes"},
        {Program::Dashboard, {"--decode", "d", "--adapter", "slcan"}, "--adapter takes elm327 or canusb"},
        {Program::Dashboard, {"--decode", "d", "--out", "x"}, "--out goes with --replay or --report only"},
        {Program::Headless, {"--report", "logs"}, "--report draws charts: run veloxcanmoni"},
        {Program::Dashboard, {"--settings", "v.INI"}, "--settings goes with --headless only"},
        {Program::Headless, {"--simulate"}, "--simulate goes with the dashboard only: run veloxcanmoni"},
        {Program::Headless, {"--status-every", "0"}, "--status-every takes seconds"},
        {Program::Headless, {"--replay", "a", "--adapter", "elm"}, "--adapter takes elm327 or canusb"},
        {Program::Headless, {"--replay", "a", "--units", "metric"}, "--units takes si or us"},
        {Program::Headless, {"--replay", "a", "--temp", "k"}, "--temp takes c or f"},
        {Program::Headless, {"--replay", "a", "--bps", "12"}, "--bps takes"},
        {Program::Headless, {"--replay", "a", "--start", "04/12/2026"}, "--start takes"},
        {Program::Headless, {"--replay", "a", "--channel", "can 0"}, "--channel takes an interface name"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(c.args, c.program);
        EXPECT_EQ(line.mode, ProgramMode::Error) << c.says;
        EXPECT_NE(line.message.find(c.says), std::string::npos) << line.message;
    }
}

#if !defined(_WIN32)
struct Answer { int status; std::string out; };

// Runs the program with no display to talk to: a QApplication would abort it.
Answer runWithoutDisplay(const std::string& program, const std::string& arg)
{
    test::Child child({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb", program, arg});
    const int status = child.waitExit(std::chrono::seconds(30));
    return {status, child.text()};
}

TEST(Programs, AnswerHelpVersionAndMistakesWithoutADisplay)
{
    // Help has one line per option; every answer's lines fit a terminal's width.
    const struct { const char* arg; int status; std::string says; } asks[] = {
        {"--help", 0, "\n  --replay FILE "}, {"--version", 0, std::string(" ") + VCM_VERSION + "\n"}, {"--frobnicate", 2, "frobnicate"}};
    for (const char* program : {VCM_PROGRAM, VCM_HEADLESS_PROGRAM})
        for (const auto& ask : asks) {
            SCOPED_TRACE(std::string(program) + " " + ask.arg);
            const Answer answer = runWithoutDisplay(program, ask.arg);
            EXPECT_EQ(answer.status, ask.status) << answer.out;
            EXPECT_NE(answer.out.find(ask.says), std::string::npos) << answer.out;
            std::istringstream lines(answer.out);
            for (std::string l; std::getline(lines, l);) EXPECT_LE(l.size(), 80u) << l;
        }
    EXPECT_NE(runWithoutDisplay(VCM_PROGRAM, "--help").out.find("--simulate"), std::string::npos);
    EXPECT_EQ(runWithoutDisplay(VCM_HEADLESS_PROGRAM, "--help").out.find("--simulate"), std::string::npos);
}
#endif

} // namespace
} // namespace vcm
