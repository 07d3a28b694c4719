#include "link/qt/QtSerialPort.h"

#include "link/SerialSettings.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <utility>

#if defined(Q_OS_UNIX)
#include <poll.h>
#include <unistd.h>
#endif

namespace vcm {
namespace {

QSerialPort::Parity toQtParity(char p)
{
    switch (p) {
    case 'E': return QSerialPort::EvenParity;
    case 'O': return QSerialPort::OddParity;
    case 'M': return QSerialPort::MarkParity;
    case 'S': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

// Text that is too long to leave in the output buffer when the port closes.
constexpr int FlushOnCloseMs = 200;

} // namespace

QtSerialPort::QtSerialPort(std::string device, QObject* parent) : QObject(parent), device_(std::move(device))
{
    port_.setPortName(QString::fromStdString(device_));
    chunk_.setSingleShot(true);
    connect(&chunk_, &QTimer::timeout, this, &QtSerialPort::takeChunk);
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::onArrival);
    // Queued: the listener may close the port, which it must not do inside the signal.
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred, Qt::QueuedConnection);
}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(int, std::string_view settings)
{
    error_.clear();
    if (port_.isOpen())
        close();
    const auto s = parseSerialSettings(settings);
    if (!s) {
        error_ = "bad port settings \"" + std::string(settings) + "\"";
        return false;
    }
    port_.setBaudRate(s->baud);
    port_.setParity(toQtParity(s->parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(s->dataBits));
    port_.setStopBits(s->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString().toStdString();
        return false;
    }
    port_.clear(QSerialPort::Input);
    pending_.clear();
    readDeviceDirectly();
    return true;
}

void QtSerialPort::readDeviceDirectly()
{
#if defined(Q_OS_UNIX)
    // QSerialPort watches the (non-blocking) descriptor with a read notifier of its own
    // and reads it on every arrival. That notifier is put to sleep and ours takes over;
    // QSerialPort wakes it only when it is asked to read, which this class no longer does.
    // Should a Qt version keep it elsewhere, QSerialPort goes on reading.
    const auto fd = static_cast<qintptr>(port_.handle());
    const auto theirs = port_.findChildren<QSocketNotifier*>();
    QSocketNotifier* reader = nullptr;
    for (QSocketNotifier* n : theirs)
        if (n->type() == QSocketNotifier::Read && n->socket() == fd)
            reader = n;
    if (!reader)
        return;
    reader->setEnabled(false);
    readable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(readable_.get(), &QSocketNotifier::activated, this, &QtSerialPort::onArrival);
#endif
}

void QtSerialPort::close()
{
    chunk_.stop();
    readable_.reset();
    pending_.clear();
    if (!port_.isOpen())
        return;
    // The stop command must reach the adapter before the port goes.
    if (port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(FlushOnCloseMs);
    port_.close();
}

void QtSerialPort::write(std::string_view text)
{
    if (port_.isOpen())
        port_.write(text.data(), static_cast<qint64>(text.size()));
}

// The first arrival after a quiet spell: the device is left alone until the chunk is due.
void QtSerialPort::onArrival()
{
    if (readable_)
        readable_->setEnabled(false);
    if (!chunk_.isActive())
        chunk_.start(ReadChunkMs);
}

void QtSerialPort::takeChunk()
{
    if (!port_.isOpen())
        return;
    if (!drainDevice()) {
        reportLost();
        return;
    }
    if (readable_)
        readable_->setEnabled(true);
    if (!pending_.empty() && listener())
        listener()->onReceive();
}

bool QtSerialPort::drainDevice()
{
    if (!readable_) {
        const QByteArray bytes = port_.readAll();
        pending_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return true;
    }
#if defined(Q_OS_UNIX)
    const int fd = static_cast<int>(port_.handle());
    char buffer[16384];
    bool gotAny = false;
    for (;;) {
        // A raw terminal without a minimum count answers 0 when it has nothing (rather
        // than EAGAIN); a pseudo-terminal whose other side has gone answers EIO.
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            gotAny = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        error_ = std::strerror(errno);
        return false;
    }
    // A hung-up terminal reads as empty too: the hang-up shows in its poll flags.
    pollfd state{fd, POLLIN, 0};
    if (!gotAny && ::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        error_ = "Input/output error";
        return false;
    }
    return true;
#else
    return true;
#endif
}

void QtSerialPort::reportLost()
{
    readable_.reset();
    if (listener())
        listener()->onError(PortError::DeviceLost);
    // A gone device keeps failing until it is closed.
    if (port_.isOpen())
        close();
}

std::string QtSerialPort::readAll()
{
    if (!port_.isOpen())
        return {};
    // What has come since the last chunk is taken too; a lost device is the chunk's news.
    drainDevice();
    return std::exchange(pending_, {});
}

void QtSerialPort::discardInput()
{
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::Input);
    drainDevice();
    pending_.clear();
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (!listener()) {
        if (error == QSerialPort::ResourceError && port_.isOpen())
            close();
        return;
    }
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError: // the read of a gone device (a hung-up terminal) fails
        error_ = port_.errorString().toStdString();
        reportLost();
        break;
    case QSerialPort::WriteError:
        listener()->onError(PortError::TxFull);
        break;
    default:
        break; // open failures are returned by open(); the rest are not communication errors
    }
}

} // namespace vcm
