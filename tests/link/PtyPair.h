#pragma once
// A pseudo-terminal for tests of the real serial port: the program opens the slave
// device by its path; unplug() closes both sides, so the device vanishes.
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace vcm::test {

class PtyPair {
public:
    PtyPair()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        termios t{}; // raw bytes both ways: no echo, no CR/LF translation
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
        path_ = name; // the slave stays open here so the master sees no hang-up between opens
    }
    ~PtyPair() { unplug(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& slavePath() const { return path_; }
    void unplug()
    {
        for (int* fd : {&slave_, &master_})
            if (*fd >= 0)
                ::close(std::exchange(*fd, -1));
    }

private:
    int master_ = -1, slave_ = -1;
    std::string path_;
};

} // namespace vcm::test
