#pragma once
// A program run by a test (POSIX): its standard output and error read as it goes.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vcm::test {

// A child process with its standard output and error on one pipe.
class Child {
public:
    explicit Child(std::vector<std::string> args)
    {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            dup2(fds[1], STDERR_FILENO);
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
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!pred(text_)) {
            if (std::chrono::steady_clock::now() > end) return false;
            pollfd p{out_, POLLIN, 0};
            poll(&p, 1, 50);
            readAvailable();
        }
        return true;
    }
    // Waits for the child to end; its exit status, or -1 when it did not end in time.
    int waitExit(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                readAvailable();
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            readAvailable(); // a full pipe would hold the child up
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    // Never kill(-1): every process of the user.
    void signal(int s) { if (pid_ > 0) kill(pid_, s); }
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

} // namespace vcm::test
