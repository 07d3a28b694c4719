// vcm-feed: a bus adapter on a pseudo-terminal that keeps the link saturated, for
// measuring what the live program costs (tools/livecost/livecost.py drives it).
//
//   vcm-feed --traffic FILE [--adapter elm327|canusb] [--bps 500000] [--chunk-ms 1] [--silent]
//
// Prints the device path as the first line of standard output. It answers the start-up
// commands as the adapter does (ELM327: "OK" and the ">" prompt; CANUSB: a CR), and from
// the command that starts monitoring ("ATMA", "O") until the stop command it writes the
// frame lines of FILE (adapter text, e.g. a recording of vcm-simcar --record), over and
// over, at the line rate: bps / 10 characters a second, one write every chunk-ms.
// --silent opens the port but never answers (an adapter that hangs).
// Stops on SIGINT or SIGTERM, or when the program closes the port.
#include <algorithm>
#include <cctype>
#include "shared/AdapterPty.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>


namespace {

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

struct Options {
    std::string traffic;
    bool elm327 = true;
    double bps = 500000;
    double chunkMs = 1;
    bool silent = false;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--traffic" && hasValue) o.traffic = argv[++i];
        else if (a == "--adapter" && hasValue) {
            const std::string v = argv[++i];
            if (v != "elm327" && v != "canusb") return false;
            o.elm327 = v == "elm327";
        } else if (a == "--bps" && hasValue) o.bps = std::atof(argv[++i]);
        else if (a == "--chunk-ms" && hasValue) o.chunkMs = std::atof(argv[++i]);
        else if (a == "--silent") o.silent = true;
        else return false;
    }
    return !o.traffic.empty() && o.bps > 0 && o.chunkMs > 0;
}

// The frame lines of a recording, each with its terminator; replies and prompts dropped.
std::string frameLines(const std::string& path, bool elm327)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string frames;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string::npos) break;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == '\n') ++start;
        while (!line.empty() && (line.front() == '\n' || line.front() == '>')) line.erase(0, 1);
        const bool frame = elm327 ? line.size() > 4 && line[3] == ' ' && std::isxdigit(static_cast<unsigned char>(line[0]))
                                  : line.size() > 4 && line[0] == 't';
        if (frame) frames += line + (elm327 ? "\r\n" : "\r");
    }
    return frames;
}

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The adapter's answer to one command, and whether monitoring runs after it.
std::string answer(const std::string& command, bool elm327, bool& streaming)
{
    if (elm327) {
        if (command == "ATMA") { streaming = true; return {}; }
        if (command.find_first_not_of(' ') == std::string::npos) { streaming = false; return "\r>"; }
        if (command == "ATZ") return "\r\rELM327 v1.5\r\r>";
        return "OK\r\r>";
    }
    if (command == "O") streaming = true;
    if (command == "C") streaming = false;
    if (command == "V") return "V1011\r";
    if (command == "N") return "NA123\r";
    return "\r";
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: vcm-feed --traffic FILE [--adapter elm327|canusb] [--bps N] [--chunk-ms MS] [--silent]\n");
        return 2;
    }
    const std::string frames = frameLines(o.traffic, o.elm327);
    if (frames.empty()) {
        std::fprintf(stderr, "vcm-feed: no frame lines in %s\n", o.traffic.c_str());
        return 1;
    }
    vcm::tools::AdapterPty pty;
    if (!vcm::tools::openAdapterPty("vcm-feed", onSignal, false, pty))
        return 1;
    const int master = pty.master;
    int slave = pty.slave;

    bool connected = false, streaming = false;
    std::string command, out;
    std::size_t at = 0;       // next character of the traffic
    double credit = 0;        // characters the line could have carried and did not yet
    double next = nowMs(), last = next;
    const double charsPerMs = o.bps / 10.0 / 1000.0;
    long long sent = 0, lines = 0;
    double streamedMs = 0; // time spent streaming, for the line rate
    char buf[4096];
    while (!g_stop) {
        const double wait = next - nowMs();
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, wait > 0 ? static_cast<int>(wait + 0.999) : 0);
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0 && !connected) {
                connected = true; // the program holds the device now: let ours go
                ::close(slave);
                slave = -1;
            }
            for (ssize_t i = 0; i < n && !o.silent; ++i) {
                if (buf[i] != '\r') { command += buf[i]; continue; }
                out += answer(command, o.elm327, streaming);
                command.clear();
            }
        }
        if (connected && (p.revents & (POLLHUP | POLLERR))) break;
        const double now = nowMs();
        if (now < next) continue;
        // The line carries what the time since the last write allows, whenever the
        // feeder gets to run (at most a few writes' worth when it was held up).
        const double elapsed = std::min(now - last, 5 * o.chunkMs);
        last = now;
        next += o.chunkMs;
        if (next < now) next = now + o.chunkMs;
        if (streaming) {
            streamedMs += elapsed;
            credit += elapsed * charsPerMs;
            // Whole lines only, as the adapter sends them.
            while (true) {
                const std::size_t end = frames.find(o.elm327 ? '\n' : '\r', at);
                const std::size_t len = end + 1 - at;
                if (static_cast<double>(len) > credit) break;
                out.append(frames, at, len);
                credit -= static_cast<double>(len);
                ++lines;
                at = end + 1 >= frames.size() ? 0 : end + 1;
            }
        } else {
            credit = 0;
        }
        if (!out.empty() && connected) {
            const ssize_t n = ::write(master, out.data(), out.size());
            if (n > 0) { out.erase(0, static_cast<std::size_t>(n)); sent += n; }
            if (out.size() > (1u << 20)) out.clear(); // the program does not read: as on a wire, the text is lost
        }
    }
    const double seconds = streamedMs / 1000.0;
    std::fprintf(stderr, "vcm-feed: %lld characters, %lld lines in %.1f s of monitoring (%.0f lines/s)\n", sent, lines,
                 seconds, seconds > 0 ? static_cast<double>(lines) / seconds : 0.0);
    if (slave >= 0) ::close(slave);
    ::close(master);
    return 0;
}
