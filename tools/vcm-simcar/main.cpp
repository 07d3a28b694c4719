// vcm-simcar: the simulated car on a pseudo-terminal, or a recording of its drive.
//
//   vcm-simcar [--adapter elm327|canusb] [--seed N] [--speed BPS] [--replay FILE] [--stay]
//       Creates a pseudo-terminal, prints its device path as the first line of standard
//       output, and plays the adapter on it in real time. Point the dashboard's adapter
//       port at that path. The serial speed is the one the program sets on the port
//       (500000 when it sets none), or --speed. Stops on SIGINT or SIGTERM, or when the
//       program closes the port (with --stay it waits for the next open instead).
//
//   vcm-simcar --record elm327|canusb|candump [--seconds N] [--seed N]
//       Writes a recording of N seconds (default 60) of the drive to standard output.
#include "common/Clock.h"
#include "sources/sim/DriveRecorder.h"
#include "sources/sim/SimulatedPort.h"

#include "shared/AdapterPty.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>


namespace {

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

struct Options {
    std::string adapter = "elm327";
    std::uint64_t seed = 1;
    double speed = 0; // 0: take the port's
    std::string replay;
    bool stay = false;
    std::string record;
    double seconds = 60;
};

int usage()
{
    std::fprintf(stderr,
                 "usage: vcm-simcar [--adapter elm327|canusb] [--seed N] [--speed BPS] [--replay FILE] [--stay]\n"
                 "       vcm-simcar --record elm327|canusb|candump [--seconds N] [--seed N]\n");
    return 2;
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--adapter" && value(o.adapter)) continue;
        if (a == "--replay" && value(o.replay)) continue;
        if (a == "--record" && value(o.record)) continue;
        if (a == "--stay") { o.stay = true; continue; }
        if ((a == "--seed" || a == "--speed" || a == "--seconds") && value(v)) {
            char* end = nullptr;
            double d = std::strtod(v.c_str(), &end);
            if (end == v.c_str() || *end != '\0' || d < 0) return false;
            if (a == "--seed") o.seed = static_cast<std::uint64_t>(d);
            else if (a == "--speed") o.speed = d;
            else o.seconds = d;
            continue;
        }
        return false;
    }
    return o.adapter == "elm327" || o.adapter == "canusb";
}

double speedOf(speed_t s)
{
    switch (s) {
    case B50: return 0;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
#ifdef B500000
    case B500000: return 500000;
#endif
#ifdef B1000000
    case B1000000: return 1000000;
#endif
    default: return 0;
    }
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int record(const Options& o)
{
    auto format = vcm::sim::recordFormatNamed(o.record);
    if (!format) return usage();
    std::string text = vcm::sim::recordDrive(*format, o.seconds, o.seed);
    return writeAll(STDOUT_FILENO, text) ? 0 : 1;
}

int serve(const Options& o)
{
    vcm::sim::SimulatedCar car;
    car.adapter = o.adapter == "elm327" ? vcm::sim::AdapterModel::Elm327 : vcm::sim::AdapterModel::CanUsb;
    car.seed = o.seed;
    car.replayPath = o.replay;
    std::string error;
    auto adapter = vcm::sim::makeVirtualAdapter(car, &error);
    if (!adapter) {
        std::fprintf(stderr, "vcm-simcar: %s\n", error.c_str());
        return 1;
    }

    vcm::tools::AdapterPty pty;
    if (!vcm::tools::openAdapterPty("vcm-simcar", onSignal, true, pty))
        return 1;
    const int master = pty.master;
    int slave = pty.slave;

    // Our own slave descriptor is kept until the program has opened the device, so the
    // master does not read as hung up before then; a hang-up afterwards means it closed.
    vcm::SystemClock clock;
    const double origin = clock.tickCount();
    bool connected = false;
    double bps = o.speed > 0 ? o.speed : 500000;
    adapter->line().setSpeed(bps);
    std::string out;
    std::string pending; // text the program has not taken yet
    constexpr std::size_t kMaxPending = 1 << 20;
    char buf[4096];

    while (!g_stop) {
        pollfd p{master, POLLIN, 0};
        int ready = ::poll(&p, 1, 2);
        const double now = clock.tickCount() - origin;
        if (ready > 0 && (p.revents & POLLIN)) {
            ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                if (!connected) {
                    // The program has opened and set up the device: take its speed
                    // (termios is the terminal's, so our descriptor sees it), then let go.
                    connected = true;
                    termios cur{};
                    double portSpeed = tcgetattr(slave, &cur) == 0 ? speedOf(cfgetospeed(&cur)) : 0;
                    bps = o.speed > 0 ? o.speed : portSpeed > 0 ? portSpeed : 500000;
                    adapter->line().setSpeed(bps);
                    ::close(slave);
                    slave = -1;
                }
                adapter->receive(std::string_view(buf, static_cast<std::size_t>(n)), now);
            }
        }
        if (connected && (p.revents & (POLLHUP | POLLERR))) {
            if (!o.stay) break;
            // Wait for the next open: hold the slave again so the master stays usable.
            connected = false;
            slave = ::open(pty.device.c_str(), O_RDWR | O_NOCTTY);
            if (slave < 0) break;
            pending.clear();
            adapter->line().clear();
        }
        adapter->advanceTo(now);
        out.clear();
        adapter->line().deliverUntil(now, out);
        if (!connected) continue; // nobody listens yet: the text is lost, as on a real wire
        if (pending.size() + out.size() <= kMaxPending) pending += out;
        while (!pending.empty()) {
            ssize_t n = ::write(master, pending.data(), pending.size());
            if (n <= 0) break;
            pending.erase(0, static_cast<std::size_t>(n));
        }
    }
    if (slave >= 0) ::close(slave);
    ::close(master);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) return usage();
    if (!o.record.empty()) return record(o);
    return serve(o);
}
