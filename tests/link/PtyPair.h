#pragma once
// A pseudo-terminal for tests of the real serial port: the program opens the slave
// device by its path; closing both sides makes the device vanish.
#include <fcntl.h>
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
