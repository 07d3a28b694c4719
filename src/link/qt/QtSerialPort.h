#pragma once
// A serial device through Qt's QSerialPort: "COM3" on Windows, a device path elsewhere
// ("/dev/ttyUSB0", "/dev/rfcomm0", a pseudo-terminal). Arrivals and errors reach the
// listener from the event loop; a device that goes away (ResourceError, or a read that
// fails as on a hung-up terminal) is reported as
// PortError::DeviceLost, after the signal has returned, so the listener may close it.
#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

#include <string>

namespace vcm {

class QtSerialPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(std::string device, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return port_.isOpen(); }
    void close() override;
    void write(std::string_view text) override;
    std::string readAll() override;
    void discardInput() override;
    std::string deviceName() const override { return device_; }
    std::string errorText() const override { return error_; }

private:
    void onErrorOccurred(QSerialPort::SerialPortError error);

    std::string device_;
    std::string error_;
    QSerialPort port_;
};

} // namespace vcm
