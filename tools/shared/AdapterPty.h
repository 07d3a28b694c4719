#pragma once
// The adapter's end of a pseudo-terminal, for the tools that play an adapter (vcm-simcar,
// vcm-feed). SIGINT and SIGTERM call onStop (set before the path goes out: whoever reads it
// may signal at once), the program's side is raw, ours does not block, and the device path
// is the first line on standard output. The slave descriptor is kept open until the
// program has opened the device, so the master does not read as hung up before then.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

namespace vcm::tools {

struct AdapterPty {
    int master = -1;
    int slave = -1;
    std::string device;
};

// False with the reason on standard error (prefixed by tool). speedUnset gives the line a
// speed no program asks for (B50), so a program's own setting shows.
inline bool openAdapterPty(const char* tool, void (*onStop)(int), bool speedUnset, AdapterPty& pty)
{
    struct sigaction sa{};
    sa.sa_handler = onStop;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    char name[256] = {};
    if (openpty(&pty.master, &pty.slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "%s: openpty: %s\n", tool, std::strerror(errno));
        return false;
    }
    termios t{};
    tcgetattr(pty.slave, &t);
    cfmakeraw(&t);
    if (speedUnset) {
        cfsetispeed(&t, B50);
        cfsetospeed(&t, B50);
    }
    tcsetattr(pty.slave, TCSANOW, &t);
    fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    pty.device = name;
    std::printf("%s\n", name);
    std::fflush(stdout);
    return true;
}

} // namespace vcm::tools
