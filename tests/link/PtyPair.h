#pragma once
// A pseudo-terminal for tests of the real serial path: the program opens the slave
// device by its path, the test plays the adapter on the master side.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace vcm::test {

class PtyPair {
public:
    PtyPair()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0)
            return;
        // Raw bytes both ways: no echo, no CR/LF translation.
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        // Kept open so that the master does not see a hang-up between opens.
        slaveKeepAlive_ = slave;
        path_ = name;
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair()
    {
        closeMaster();
        if (slaveKeepAlive_ >= 0)
            ::close(slaveKeepAlive_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return path_; }
    int masterFd() const { return master_; }

    void send(const std::string& text) { [[maybe_unused]] auto n = ::write(master_, text.data(), text.size()); }
    // What the program wrote, waiting up to timeoutMs for the first byte.
    std::string receive(int timeoutMs = 0)
    {
        std::string out;
        pollfd p{master_, POLLIN, 0};
        if (timeoutMs > 0 && ::poll(&p, 1, timeoutMs) <= 0)
            return out;
        char buf[4096];
        for (;;) {
            const auto n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }
    // The device goes away: the slave side sees a hang-up.
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    void dropSlaveKeepAlive()
    {
        if (slaveKeepAlive_ >= 0)
            ::close(slaveKeepAlive_);
        slaveKeepAlive_ = -1;
    }

private:
    int master_ = -1;
    int slaveKeepAlive_ = -1;
    std::string path_;
};

} // namespace vcm::test
