// veloxcanmoni --headless against the simulated ELM327 on a pseudo-terminal
// (vcm-simcar): the real Qt serial path, a settings file, the logs on disk, SIGTERM.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "shared/AdapterPty.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <atomic>
#include <functional>
#include <map>
#include <poll.h>
#include <regex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vcm {
namespace {

using Clock = std::chrono::steady_clock;
using namespace test;
using namespace std::chrono_literals;

// The pseudo-terminal a simulated car (vcm-simcar) prints first (what it printed if it did not).
std::string ptyOf(Child& car)
{
    car.readUntil([](const std::string& t) { return t.find('\n') != std::string::npos; }, 5s);
    return car.text().substr(0, car.text().find('\n'));
}

// Settings for live logging from the ELM327 at device into dir/save (value log, raw log if asked).
std::string settingsFor(TempFolder& dir, const std::string& device, bool rawLog = false, const char* bps = "38400")
{
    std::filesystem::create_directories(dir.file("save"));
    return dir.write("VeloxCanMoni.INI", "[Comm]\r\nInterface=ELM327\r\nPortNum=1\r\nBPS=" + std::string(bps) +
                                         "\r\nPortNum GPS=0\r\n[CAN232]\r\nLogfile=True\r\nSuperLogfile=" +
                                         (rawLog ? "True" : "False") + "\r\n[GPS]\r\nEnableGPS=False\r\n"
                                         "[Unit]\r\nSystem=SI\r\nTemp=Celsius\r\n[File]\r\nSavePath=" + dir.file("save") +
                                         "\r\n[Ports]\r\nCOM1=" + device + "\r\n");
}

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

// The two ways of starting live logging: the dashboard program's mode, and the program
// linked without widgets (whose plain options are live logging's).
struct HeadlessStart { const char* name; std::vector<std::string> command; };

class Headless : public ::testing::TestWithParam<HeadlessStart> {};

TEST_P(Headless, LogsFromTheSimulatedAdapterAndStopsCleanlyOnSigterm)
{
    TempFolder dir;
    Child car({VCM_SIMCAR, "--adapter", "elm327", "--seed", "5"});
    const std::string pty = ptyOf(car);
    ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;
    const std::string save = dir.file("save"), ini = settingsFor(dir, pty, true, "500000");
    std::vector<std::string> command = GetParam().command;
    command.insert(command.end(), {"--settings", ini, "--status-every", "1"});
    Child program(command);
    // Running once a status line reports a decoded state of charge and rows of the value log.
    const std::regex logging(R"( running .* SOC [1-9].*\.csv [1-9][0-9]* rows)");
    ASSERT_TRUE(program.readUntil([&](const std::string& t) { return std::regex_search(t, logging); }, 15s))
        << program.text();

    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(10s), 0) << program.text();
    EXPECT_NE(program.text().find("stopped on signal 15"), std::string::npos) << program.text();
    // The program closed the port: the simulated car ends with it.
    EXPECT_EQ(car.waitExit(5s), 0);

    // On disk: a value log with its header and whole rows, the raw log with markers.
    std::map<std::string, std::string> logs; // by extension
    for (const auto& e : std::filesystem::directory_iterator(save))
        if (e.path().filename().string().starts_with("CAN_")) logs[e.path().extension().string()] = readFile(e.path());
    const std::string &csv = logs[".csv"], &raw = logs[".txt"];
    ASSERT_FALSE(csv.empty());
    EXPECT_EQ(csv.rfind("Date;Heure;km/h;Tpm;", 0), 0u);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
    EXPECT_GE(linesOf(csv).size(), 4u); // the header and rows
    EXPECT_NE(raw.find("#\r\n"), std::string::npos); // marker lines
    EXPECT_NE(raw.find("3CB "), std::string::npos);   // the monitor line the state of charge came from
}

// A trip that cannot be saved (here a folder stands where TRAJETS.CSV goes) is tried
// again and then reported, with a failing exit status: never "unchanged" and 0.
TEST(HeadlessProgram, ATripThatCannotBeSavedFailsTheRun)
{
    TempFolder dir;
    Child car({VCM_SIMCAR, "--adapter", "elm327", "--seed", "5"});
    const std::string ini = settingsFor(dir, ptyOf(car), false, "500000");
    std::filesystem::create_directories(dir.file("save") + "/TRAJETS.CSV");
    Child program({VCM_HEADLESS_PROGRAM, "--settings", ini, "--status-every", "1"});
    const std::regex moving(R"( running [1-9][0-9.]* km/h)");
    ASSERT_TRUE(program.readUntil([&](const std::string& t) { return std::regex_search(t, moving); }, 15s))
        << program.text();
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(15s), 1) << program.text();
    EXPECT_NE(program.text().find("trip NOT saved"), std::string::npos) << program.text();
}

INSTANTIATE_TEST_SUITE_P(Programs, Headless,
                         ::testing::Values(HeadlessStart{"DashboardProgram", {VCM_PROGRAM, "--headless"}},
                                           HeadlessStart{"ProgramWithoutWidgets", {VCM_HEADLESS_PROGRAM}}),
                         [](const auto& p) { return std::string(p.param.name); });

// What a board without a window system must have installed: Qt Core and SerialPort.
TEST(HeadlessProgram, NeedsNeitherQtWidgetsNorQtGui)
{
    Child ldd({"/usr/bin/ldd", VCM_HEADLESS_PROGRAM});
    ASSERT_EQ(ldd.waitExit(20s), 0) << ldd.text();
    EXPECT_NE(ldd.text().find("libQt6Core"), std::string::npos) << ldd.text();
    EXPECT_FALSE(std::regex_search(ldd.text(), std::regex("libQt6(Widgets|Gui)"))) << ldd.text();
}

TEST(HeadlessProgram, ReplaysButSendsTheWindowReplayToTheDashboard)
{
    TempFolder out;
    const std::string sample = std::string(VCM_SAMPLES_DIR) + "/CAN_04122026_0910.txt";
    Child replay({VCM_HEADLESS_PROGRAM, "--replay", sample, "--out", out.path()});
    EXPECT_EQ(replay.waitExit(60s), 0) << replay.text();
    EXPECT_TRUE(std::filesystem::exists(out.file("CAN_04122026_0910.csv")));

    Child window({VCM_HEADLESS_PROGRAM, "--replay", sample, "--gui"});
    EXPECT_EQ(window.waitExit(20s), 2);
}

// An adapter played by the test on a pseudo-terminal: each command line (up to its CR)
// gets the reply the function gives ("" = none).
using Reply = std::function<std::string(const std::string&)>;
class ScriptedAdapter {
public:
    explicit ScriptedAdapter(Reply reply) : reply_(std::move(reply))
    {
        // SIG_DFL: the test keeps the default answer to SIGINT and SIGTERM.
        if (tools::openAdapterPty("test_app_headless", SIG_DFL, false, pty_)) thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedAdapter()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        close(pty_.master);
        close(pty_.slave);
    }
    const std::string& path() const { return pty_.device; }

private:
    void serve()
    {
        std::string line;
        while (!stop_) {
            pollfd p{pty_.master, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            char c;
            if (read(pty_.master, &c, 1) != 1) continue;
            if (c != '\r') { line += c; continue; }
            const std::string r = reply_(line);
            if (!r.empty() && write(pty_.master, r.data(), r.size()) < 0) return;
            line.clear();
        }
    }
    Reply reply_;
    tools::AdapterPty pty_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

// What headless logging tells, once each, as it happens, and that SIGTERM ends it within
// two seconds whatever it is waiting for.
TEST(HeadlessReports, EachAdapterProblemOnceWithTheDeviceAndSigtermWithinTwoSeconds)
{
    // Each adapter's answer to a command line, and what is reported after its device path.
    const struct { const char* name; Reply reply; std::string report; } cases[] = {
        {"silent", [](const std::string&) { return std::string(); }, " does not answer (no reply to ATZ)"},
        {"refusing", [](const std::string& c) { return c == "ATZ" ? std::string("\r\rELM327 v1.5\r\r>") : "?\r\r>"; },
         " refused ATSP6 (\"?\")"},
        {"no frames", [](const std::string& c) { return c == "ATMA" ? std::string() : "OK\r\n\r\n>"; },
         " for 5 s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        ScriptedAdapter adapter(c.reply);
        ASSERT_FALSE(adapter.path().empty());
        Child program({VCM_HEADLESS_PROGRAM, "--settings", settingsFor(dir, adapter.path()), "--status-every", "1"});
        ASSERT_TRUE(program.readUntil([&](const std::string& t) { return t.find(c.report) != std::string::npos; }, 20s))
            << program.text();
        EXPECT_EQ(occurrences(program.text(), c.report), 1u) << program.text();
        EXPECT_NE(program.text().find(adapter.path() + c.report), std::string::npos) << program.text();
        const auto signalled = Clock::now();
        program.signal(SIGTERM);
        EXPECT_EQ(program.waitExit(5s), 0) << program.text();
        EXPECT_LT(Clock::now() - signalled, 2s) << program.text();
        EXPECT_NE(program.text().find("trip file left alone (nothing driven)"), std::string::npos) << program.text();
        EXPECT_EQ(occurrences(program.text(), "veloxcanmoni: "), 1u) << "the ending is no problem: " << program.text();
    }
}

// Unplugged while driving, started again when the adapter is back: one line for the loss,
// one for the failed retries, and the trip on disk holds the part before the gap as well.
TEST(HeadlessReports, ALostAdapterKeepsTheTripAcrossTheGap)
{
    TempFolder dir;
    const std::string link = dir.file("adapter"); // the device path the settings name
    auto plugIn = [&](Child& car) {
        std::filesystem::remove(link);
        std::filesystem::create_symlink(ptyOf(car), link);
    };
    auto first = std::make_unique<Child>(std::vector<std::string>{VCM_SIMCAR, "--adapter", "elm327", "--seed", "5", "--speed", "500000"});
    plugIn(*first);
    const std::string ini = settingsFor(dir, link);
    Child program({VCM_HEADLESS_PROGRAM, "--settings", ini, "--status-every", "1"});
    // Driving: fuel counted (the engine warms up from the start).
    const std::regex fuel(R"( running .* (0\.0[1-9][0-9]|0\.[1-9][0-9][0-9]|[1-9][0-9.]*) l \|)");
    ASSERT_TRUE(program.readUntil([&](const std::string& t) { return std::regex_search(t, fuel); }, 30s)) << program.text();
    // Unplugged: the device node goes (a dead pseudo-terminal's name may be reused by others).
    std::filesystem::remove(link);
    std::filesystem::create_symlink(dir.file("unplugged"), link);
    first.reset();
    ASSERT_TRUE(program.readUntil([](const std::string& t) { return t.find("Ne peut ouvrir") != std::string::npos; }, 10s))
        << program.text();
    EXPECT_EQ(occurrences(program.text(), "lost the adapter " + link + ": "), 1u) << program.text();
    std::this_thread::sleep_for(2500ms); // more retries fail: told once
    EXPECT_EQ(occurrences(program.text(), "Ne peut ouvrir le port COM [1]"), 1u) << program.text();
    const std::size_t gapEnd = program.text().size();
    const std::string upToGap = program.text();
    double litresBeforeGap = 0;
    for (auto it = std::sregex_iterator(upToGap.begin(), upToGap.end(), fuel); it != std::sregex_iterator(); ++it)
        litresBeforeGap = std::stod((*it)[1]);

    Child second({VCM_SIMCAR, "--adapter", "elm327", "--seed", "5", "--speed", "500000"});
    plugIn(second);
    ASSERT_TRUE(program.readUntil([&](const std::string& t) { return t.find(" running ", gapEnd) != std::string::npos; }, 20s))
        << program.text();
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitExit(5s), 0) << program.text();
    EXPECT_NE(program.text().find("trip file updated"), std::string::npos) << program.text();
    const auto trips = linesOf(readFile((std::filesystem::path(dir.file("save")) / "TRAJETS.CSV").string()));
    ASSERT_FALSE(trips.empty());
    const auto fields = fieldsOf(trips.back());
    ASSERT_GT(fields.size(), 5u) << trips.back();
    EXPECT_EQ(fields[0], "T");
    EXPECT_GE(std::stod(fields[4]), litresBeforeGap * 1000 - 1) << trips.back(); // millilitres
}

// candump -L text on standard input drives the live path; its end stops as SIGTERM does.
TEST(HeadlessLiveCandump, APipeOfCandumpLinesIsLoggedUntilItEnds)
{
    TempFolder dir;
    const std::string ini = settingsFor(dir, "/dev/null");
    const std::string sample = std::string(VCM_SAMPLES_DIR) + "/drive.candump.log";
    // Paced a little, as candump brings them: 40 bursts of 100 lines.
    Child program({"/bin/sh", "-c",
                   "for i in $(seq 0 39); do sed -n \"$((i * 100 + 1)),$((i * 100 + 100))p\" '" + sample +
                       "'; sleep 0.05; done | '" + VCM_HEADLESS_PROGRAM + "' --settings '" + ini +
                       "' --status-every 1 --live-candump -"});
    EXPECT_EQ(program.waitExit(30s), 0) << program.text();
    EXPECT_NE(program.text().find("stopped at the end of the adapter's input"), std::string::npos) << program.text();
    std::string csv;
    for (const auto& e : std::filesystem::directory_iterator(dir.file("save")))
        if (e.path().extension() == ".csv" && e.path().filename().string().starts_with("CAN_")) csv = readFile(e.path());
    const auto rows = linesOf(csv);
    ASSERT_GE(rows.size(), 5u) << csv;
    EXPECT_EQ(rows[0].rfind("Date;Heure;km/h;Tpm;", 0), 0u);
    // The bus's values reached the rows: the state of charge (column 10) is the car's.
    EXPECT_NE(fieldsOf(rows.back())[9], "0.0") << rows.back();
}

} // namespace
} // namespace vcm
