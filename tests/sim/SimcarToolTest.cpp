// The vcm-simcar tool as a program's serial port meets it: a pseudo-terminal whose
// path comes on the first line, the adapter answering on it in real time, the tool
// ending when the port is closed or on SIGTERM; and its recordings.
#include "sources/sim/DriveRecorder.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <vector>
#include <termios.h>
#include <unistd.h>

namespace {

// The tool serving a pseudo-terminal; path() is the first line it prints.
struct Tool : vcm::test::Child {
    explicit Tool(const char* adapter) : Child({VCM_SIMCAR_PATH, "--adapter", adapter, "--seed", "3"})
    {
        readUntil([](const std::string& t) { return t.find('\n') != std::string::npos; }, std::chrono::seconds(5));
    }
    std::string path() const { return text().substr(0, text().find('\n')); }
};

// The device as a program opens it: raw, 8N1, the given speed.
int openDevice(const std::string& path, speed_t speed)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Writes text, then reads until `until` appears or three seconds pass.
std::string exchange(int fd, const std::string& text, const std::string& until)
{
    [[maybe_unused]] auto n = ::write(fd, text.data(), text.size());
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    char buf[4096];
    while (got.find(until) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0)
            if (const ssize_t r = ::read(fd, buf, sizeof buf); r > 0)
                got.append(buf, static_cast<std::size_t>(r));
    }
    return got;
}

// A recording's standard output and the tool's exit status.
std::pair<std::string, int> record(std::vector<std::string> args)
{
    args.insert(args.begin(), {VCM_SIMCAR_PATH, "--seconds", "2"});
    vcm::test::Child tool(args);
    const int status = tool.waitExit(std::chrono::seconds(30));
    return {tool.text(), status};
}

} // namespace

// Each case: the adapter served, the speed the program sets, and a dialogue of commands
// and the reply each awaits (the replies themselves are checked on the simulated port).
TEST(SimcarTool, ServesTheAdapterOnAPseudoTerminalUntilThePortCloses)
{
    const struct {
        const char* adapter;
        speed_t speed;
        std::vector<std::pair<const char*, const char*>> steps;
    } cases[] = {
        // 38400 bit/s cannot carry the bus.
        {"elm327", B38400, {{"ATE0\r", ">"}, {"ATH1\r", ">"}, {"ATMA\r", "BUFFER FULL\r\r>"}}},
        // The engine unit acknowledges and answers the C3 request.
        {"canusb", B500000, {{"V\r", "V1011\r"}, {"S6\r", "\r"}, {"O\r", "\r"}, {"t7E280221C30000000000\r", "t7EA8102761C3"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.adapter) + " at " + std::to_string(c.speed));
        Tool tool(c.adapter);
        ASSERT_EQ(tool.path().rfind("/dev/", 0), 0u) << tool.path();
        const int fd = openDevice(tool.path(), c.speed);
        ASSERT_GE(fd, 0);
        std::string reply;
        for (const auto& [command, until] : c.steps) {
            reply = exchange(fd, command, until);
            EXPECT_NE(reply.find(until), std::string::npos) << command << ": " << reply.substr(0, 200);
        }
        if (std::string(c.adapter) == "canusb") {
            EXPECT_LT(reply.find("z\r"), reply.find("t7EA")) << "the request's acknowledgement comes first";
        }
        ::close(fd);
        EXPECT_EQ(tool.waitExit(std::chrono::seconds(3)), 0) << "the tool ends when the program closes the port";
    }
}

TEST(SimcarTool, StopsOnSigterm)
{
    Tool tool("canusb");
    ASSERT_FALSE(tool.path().empty());
    tool.signal(SIGTERM);
    EXPECT_EQ(tool.waitExit(std::chrono::seconds(3)), 0);
}

TEST(SimcarTool, RecordsTheDriveOfItsSeedInEachFormat)
{
    using vcm::sim::RecordFormat;
    const std::pair<const char*, RecordFormat> formats[] = {
        {"candump", RecordFormat::Candump}, {"elm327", RecordFormat::Elm327}, {"canusb", RecordFormat::CanUsb}};
    for (const auto& [name, format] : formats) {
        const auto [text, status] = record({"--record", name, "--seed", "9"});
        EXPECT_EQ(status, 0) << name;
        EXPECT_TRUE(text == vcm::sim::recordDrive(format, 2, 9)) << name << " is not the simulator's recording";
    }
    EXPECT_EQ(record({"--record", "pcap"}).second, 2) << "an unknown format is a usage error";
}
