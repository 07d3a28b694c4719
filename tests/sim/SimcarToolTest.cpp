// The vcm-simcar tool as a program's serial port meets it: a pseudo-terminal whose
// path comes on the first line, the adapter answering on it in real time, the tool
// ending when the port is closed; and its recordings.
#include "link/canformat/CandumpLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The tool running as a child process, its standard output on a pipe.
class Tool {
public:
    explicit Tool(std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), VCM_SIMCAR_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, VCM_SIMCAR_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
    }
    ~Tool()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }
    // Standard output up to its end or the first line, whichever the caller asks.
    std::string readLine(int timeoutMs)
    {
        std::string line;
        char c;
        while (poll(timeoutMs) && ::read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    std::string readAll()
    {
        std::string all;
        char buf[65536];
        ssize_t n;
        while ((n = ::read(out_, buf, sizeof buf)) > 0) all.append(buf, static_cast<std::size_t>(n));
        return all;
    }
    // The exit status, waiting up to timeoutMs; -1 while it still runs.
    int waitExit(int timeoutMs)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int status = 0;
        while (std::chrono::steady_clock::now() < until) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            ::poll(nullptr, 0, 5);
        }
        return -1;
    }
    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

private:
    bool poll(int timeoutMs)
    {
        pollfd p{out_, POLLIN, 0};
        return ::poll(&p, 1, timeoutMs) > 0;
    }
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
};

// The device as a program opens it: raw, 8N1, the given speed.
int openDevice(const std::string& path, speed_t speed)
{
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return fd;
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Writes text, then reads until `until` appears or timeoutMs passes.
std::string exchange(int fd, const std::string& text, const std::string& until, int timeoutMs = 3000)
{
    if (!text.empty()) [[maybe_unused]] auto n = ::write(fd, text.data(), text.size());
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buf[4096];
    while (got.find(until) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0) {
            ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        }
    }
    return got;
}

} // namespace

// Each case: the adapter served, the speed the program sets, a dialogue of (command,
// reply awaited, reply expected exactly or "" = only awaited) and what the last reply holds.
TEST(SimcarTool, ServesTheAdapterOnAPseudoTerminalUntilThePortCloses)
{
    struct Step { const char* command; const char* until; const char* exact; };
    const struct {
        const char* adapter;
        speed_t speed;
        std::vector<Step> steps;
    } cases[] = {
        // Real time: a tenth of a second of a 1500 frame/s bus is well over 40 lines.
        {"elm327", B500000, {{"ATE0\r", ">", "ATE0\rOK\r\r>"}, {"ATH1\r", ">", "OK\r\r>"}, {"ATL1\r", ">", ""},
                             {"ATCAF0\r", ">", ""}, {"ATMA\r", "\r\n0B4 ", ""}}},
        // 38400 bit/s cannot carry the bus.
        {"elm327", B38400, {{"ATE0\r", ">", ""}, {"ATH1\r", ">", ""}, {"ATMA\r", "BUFFER FULL\r\r>", ""}}},
        // The engine unit answers the C3 request.
        {"canusb", B500000, {{"V\r", "\r", "V1011\r"}, {"S6\r", "\r", "\r"}, {"O\r", "\r", ""},
                             {"t7E280221C30000000000\r", "t7EA8102761C3", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.adapter) + " at " + std::to_string(c.speed));
        Tool tool({"--adapter", c.adapter, "--seed", "3"});
        ASSERT_TRUE(tool.running());
        std::string path = tool.readLine(5000);
        ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
        int fd = openDevice(path, c.speed);
        ASSERT_GE(fd, 0);
        std::string reply;
        for (const auto& step : c.steps) {
            reply = exchange(fd, step.command, step.until);
            EXPECT_NE(reply.find(step.until), std::string::npos) << step.command << ": " << reply.substr(0, 200);
            if (*step.exact) {
                EXPECT_EQ(reply, step.exact) << step.command;
            }
        }
        if (c.speed == B500000) {
            EXPECT_EQ(reply.find("BUFFER FULL"), std::string::npos);
        }
        if (std::string(c.adapter) == "canusb") {
            EXPECT_TRUE(reply.rfind("z\r", 0) == 0 || reply.find("\rz\r") != std::string::npos)
                << "the request's acknowledgement";
        }
        ::close(fd);
        EXPECT_EQ(tool.waitExit(3000), 0) << "the tool ends when the program closes the port";
    }
}

TEST(SimcarTool, StopsOnSigterm)
{
    Tool tool({"--adapter", "canusb"});
    ASSERT_FALSE(tool.readLine(5000).empty());
    ::kill(tool.pid(), SIGTERM);
    EXPECT_EQ(tool.waitExit(3000), 0);
}

TEST(SimcarTool, RecordsTheSameDriveForTheSameSeed)
{
    auto run = [](const char* format, const char* seed) {
        Tool tool({"--record", format, "--seconds", "2", "--seed", seed});
        std::string text = tool.readAll();
        EXPECT_EQ(tool.waitExit(5000), 0);
        return text;
    };
    std::string a = run("candump", "9");
    EXPECT_EQ(a, run("candump", "9"));
    EXPECT_NE(a, run("candump", "10"));
    int frames = 0;
    std::size_t at = 0;
    while (at < a.size()) {
        auto end = a.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        ASSERT_EQ(vcm::parseCandumpLine(std::string_view(a).substr(at, end - at)).kind, vcm::CandumpLine::Kind::Frame)
            << a.substr(at, end - at);
        ++frames;
        at = end + 1;
    }
    EXPECT_NEAR(frames, 3000, 150);

    std::string elm = run("elm327", "9");
    EXPECT_EQ(elm.rfind("ATZ\r\r\rELM327 v1.5\r\r>", 0), 0u);
    EXPECT_EQ(elm.substr(elm.size() - 2), "\r\n");
    std::string canusb = run("canusb", "9");
    EXPECT_EQ(canusb.rfind("\a\a\a\aV1011\rNA123\r", 0), 0u);
    EXPECT_NE(canusb.find("t7EA8102761C3"), std::string::npos);

    Tool bad({"--record", "pcap"});
    bad.readAll();
    EXPECT_EQ(bad.waitExit(3000), 2);
}
