// veloxcanmoni --headless against the simulated ELM327 on a pseudo-terminal
// (vcm-simcar): the real Qt serial path, a settings file, the logs on disk, SIGTERM.
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vcm {
namespace {

using Clock = std::chrono::steady_clock;
using namespace test;
using namespace std::chrono_literals;

// A child process with its standard output on a pipe.
class Child {
public:
    explicit Child(std::vector<std::string> args)
    {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fds[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~Child()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
    }
    // Reads what the child printed until pred holds for the text or the time is up.
    bool readUntil(const std::function<bool(const std::string&)>& pred, std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        while (!pred(text_)) {
            if (Clock::now() > end) return false;
            pollfd p{out_, POLLIN, 0};
            poll(&p, 1, 50);
            readAvailable();
        }
        return true;
    }
    // Waits for the child to end; its exit status, or -1 when it did not end in time.
    int waitExit(std::chrono::milliseconds limit)
    {
        const auto end = Clock::now() + limit;
        int status = 0;
        while (Clock::now() < end) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                readAvailable();
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    void signal(int s) { kill(pid_, s); }
    bool started() const { return pid_ > 0; }
    const std::string& text() const { return text_; }

private:
    void readAvailable()
    {
        char buf[4096];
        for (ssize_t n; (n = read(out_, buf, sizeof buf)) > 0;) text_.append(buf, static_cast<std::size_t>(n));
    }
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
    std::string text_;
};

// The two ways of starting live logging: the dashboard program's mode, and the program
// linked without widgets (whose plain options are live logging's).
struct HeadlessStart { const char* name; std::vector<std::string> command; };

class Headless : public ::testing::TestWithParam<HeadlessStart> {};

TEST_P(Headless, LogsFromTheSimulatedAdapterAndStopsCleanlyOnSigterm)
{
    TempFolder dir;
    Child car({VCM_SIMCAR, "--adapter", "elm327", "--seed", "5"});
    ASSERT_TRUE(car.started());
    ASSERT_TRUE(car.readUntil([](const std::string& t) { return t.find('\n') != std::string::npos; }, 5s));
    const std::string pty = car.text().substr(0, car.text().find('\n'));
    ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;

    const std::string save = dir.file("save");
    const std::string ini = dir.write("VeloxCanMoni.INI",
                                      "[Comm]\r\nInterface=ELM327\r\nPortNum=1\r\nBPS=500000\r\nPortNum GPS=0\r\n"
                                      "[CAN232]\r\nLogfile=True\r\nSuperLogfile=True\r\n[GPS]\r\nEnableGPS=False\r\n"
                                      "[Unit]\r\nSystem=SI\r\nTemp=Celsius\r\n[File]\r\nSavePath=" + save + "\r\n"
                                      "[Ports]\r\nCOM1=" + pty + "\r\n");
    std::filesystem::create_directories(save);

    std::vector<std::string> command = GetParam().command;
    command.insert(command.end(), {"--settings", ini, "--status-every", "1"});
    Child program(command);
    ASSERT_TRUE(program.started());
    // Running once a status line reports rows of the value log.
    const std::regex logging(R"( running .*\.csv [1-9][0-9]* rows)");
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
    EXPECT_NE(raw.find("3CA "), std::string::npos);   // monitor lines of the integration clock
}

// A trip that cannot be saved (here a folder stands where TRAJETS.CSV goes) is tried
// again and then reported, with a failing exit status: never "unchanged" and 0.
TEST(HeadlessProgram, ATripThatCannotBeSavedFailsTheRun)
{
    TempFolder dir;
    Child car({VCM_SIMCAR, "--adapter", "elm327", "--seed", "5"});
    ASSERT_TRUE(car.readUntil([](const std::string& t) { return t.find('\n') != std::string::npos; }, 5s));
    const std::string pty = car.text().substr(0, car.text().find('\n'));
    const std::string save = dir.file("save");
    std::filesystem::create_directories(save + "/TRAJETS.CSV");
    const std::string ini = dir.write("VeloxCanMoni.INI", "[Comm]\r\nInterface=ELM327\r\nPortNum=1\r\n[Unit]\r\nSystem=SI\r\n"
                                                          "[File]\r\nSavePath=" + save + "\r\n[Ports]\r\nCOM1=" + pty + "\r\n");
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
    ASSERT_TRUE(ldd.started());
    ASSERT_EQ(ldd.waitExit(20s), 0) << ldd.text();
    EXPECT_NE(ldd.text().find("libQt6Core"), std::string::npos) << ldd.text();
    EXPECT_EQ(ldd.text().find("libQt6Widgets"), std::string::npos) << ldd.text();
    EXPECT_EQ(ldd.text().find("libQt6Gui"), std::string::npos) << ldd.text();
}

TEST(HeadlessProgram, ReplaysButSendsTheWindowReplayToTheDashboard)
{
    TempFolder out;
    const std::string sample = std::string(VCM_SAMPLES_DIR) + "/CAN_04122026_0910.txt";
    Child replay({VCM_HEADLESS_PROGRAM, "--replay", sample, "--out", out.path()});
    ASSERT_TRUE(replay.started());
    EXPECT_EQ(replay.waitExit(60s), 0) << replay.text();
    EXPECT_TRUE(std::filesystem::exists(out.file("CAN_04122026_0910.csv")));

    Child window({VCM_HEADLESS_PROGRAM, "--replay", sample, "--gui"});
    ASSERT_TRUE(window.started());
    EXPECT_EQ(window.waitExit(20s), 2);
}

} // namespace
} // namespace vcm
