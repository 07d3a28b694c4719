#include "sources/qt/QtCandumpPort.h"

#include <cerrno>
#include <cstring>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vcm {

QtCandumpPort::QtCandumpPort(LiveCandumpDevice device, QObject* parent)
    : QObject(parent), device_(std::move(device)), answers_(deviceName(), device_.form), feed_(device_.form)
{
    answers_.setListener(this);
    connect(&timer_, &QTimer::timeout, this, &QtCandumpPort::poll);
}

QtCandumpPort::~QtCandumpPort()
{
    answers_.setListener(nullptr);
    close();
}

std::string QtCandumpPort::deviceName() const
{
    return device_.path == "-" ? std::string("candump on standard input") : "candump file " + device_.path;
}

bool QtCandumpPort::open(int portNumber, std::string_view settings)
{
    close();
    error_.clear();
#if defined(_WIN32)
    (void)portNumber;
    (void)settings;
    error_ = "live candump input needs a POSIX system";
    return false;
#else
    fd_ = device_.path == "-" ? ::dup(STDIN_FILENO) : ::open(device_.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    struct stat st {};
    regularFile_ = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    answers_.open(portNumber, settings);
    answers_.setAnswering(true);
    sinceGrowth_.start();
    timer_.start(PollMs);
    return true;
#endif
}

void QtCandumpPort::close()
{
    timer_.stop();
    answers_.close();
#if !defined(_WIN32)
    if (fd_ >= 0)
        ::close(fd_);
#endif
    fd_ = -1;
}

void QtCandumpPort::write(std::string_view text)
{
    answers_.write(text);
    // The adapter's reply comes from the event loop, as from a real port.
    QTimer::singleShot(0, this, [this] { answers_.deliverAnswers(); });
}

void QtCandumpPort::onReceive()
{
    if (listener())
        listener()->onReceive();
}

void QtCandumpPort::poll()
{
#if !defined(_WIN32)
    char buffer[16384];
    text_.clear();
    bool ended = false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            feed_.take(std::string_view(buffer, static_cast<std::size_t>(n)), text_);
            sinceGrowth_.start();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A pipe ends when its writer closes it; a file is followed as it grows.
        ended = (n == 0 && !regularFile_) || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) ||
                (regularFile_ && sinceGrowth_.elapsed() > FileIdleEndMs);
        if (n < 0 && ended)
            error_ = std::strerror(errno);
        break;
    }
    if (ended)
        feed_.finish(text_);
    if (!text_.empty())
        answers_.deliver(text_);
    if (ended)
        end();
#endif
}

void QtCandumpPort::end()
{
    timer_.stop();
    if (listener())
        listener()->onError(PortError::EndOfInput);
}

} // namespace vcm
