#pragma once
// A serial device through Qt's QSerialPort: "COM3" on Windows, a device path elsewhere
// ("/dev/ttyUSB0", "/dev/rfcomm0", a pseudo-terminal). Arrivals and errors reach the
// listener from the event loop; a device that goes away (ResourceError, or a read that
// fails as on a hung-up terminal) is reported as
// PortError::DeviceLost, after the signal has returned, so the listener may close it.
//
// Arrivals are read in chunks: the first bytes after a quiet spell start a short timer
// (ReadChunkMs), and when it runs out everything that has come meanwhile is read at
// once and the listener told once. A saturated 500 kbit/s link writes every
// millisecond; reading it on each write kept the program waking a thousand times a
// second. On POSIX systems the device is read directly, so the event loop sleeps
// between chunks instead of waking for each write; elsewhere QSerialPort reads it and
// only the listener's calls are gathered.
#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <memory>
#include <string>

class QSocketNotifier;

namespace vcm {

class QtSerialPort final : public QObject, public SerialPort {
    Q_OBJECT
public:
    // Long enough to gather a good chunk, short against the 100 ms tick and a reply wait.
    static constexpr int ReadChunkMs = 20;

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
    // Reads the device directly when the platform allows it (see above).
    void readDeviceDirectly();
    void onArrival();
    void takeChunk();
    // Moves what the device holds into pending_; false when the device has gone.
    bool drainDevice();
    void reportLost();

    std::string device_;
    std::string error_;
    QSerialPort port_;
    QTimer chunk_;
    std::unique_ptr<QSocketNotifier> readable_; // set while the device is read directly
    std::string pending_;                       // read, not yet taken by readAll()
};

} // namespace vcm
