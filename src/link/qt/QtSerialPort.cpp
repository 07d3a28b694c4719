#include "link/qt/QtSerialPort.h"

#include "link/SerialSettings.h"

#include <utility>

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
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        if (listener())
            listener()->onReceive();
    });
    // Queued: the listener may close the port, which it must not do inside the signal.
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onErrorOccurred, Qt::QueuedConnection);
}

QtSerialPort::~QtSerialPort() { port_.close(); }

bool QtSerialPort::open(int, std::string_view settings)
{
    error_.clear();
    if (port_.isOpen())
        port_.close();
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
    return true;
}

void QtSerialPort::close()
{
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

std::string QtSerialPort::readAll()
{
    if (!port_.isOpen())
        return {};
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::discardInput()
{
    if (port_.isOpen()) {
        port_.clear(QSerialPort::Input);
        port_.readAll();
    }
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error)
{
    if (!listener()) {
        if (error == QSerialPort::ResourceError && port_.isOpen())
            port_.close();
        return;
    }
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError: // the read of a gone device (a hung-up terminal) fails
        error_ = port_.errorString().toStdString();
        listener()->onError(PortError::DeviceLost);
        // A gone device keeps failing until it is closed.
        if (port_.isOpen())
            port_.close();
        break;
    case QSerialPort::WriteError:
        listener()->onError(PortError::TxFull);
        break;
    default:
        break; // open failures are returned by open(); the rest are not communication errors
    }
}

} // namespace vcm
