#pragma once
// A port that becomes, at each open, the device its number maps to: a real serial
// device or the simulated car. The session keeps one per role (adapter, auxiliary,
// GPS) while the user may change the port numbers between runs.
#include "link/DeviceMap.h"
#include "link/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

namespace vcm {

class RoutedSerialPort final : public SerialPort, private PortListener {
public:
    // Makes the port for a device ("/dev/ttyUSB0", "COM3", "sim:elm327").
    using Factory = std::function<std::unique_ptr<SerialPort>(const std::string& device)>;

    RoutedSerialPort(const DeviceMap& map, Factory factory);
    ~RoutedSerialPort() override;

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return port_ && port_->isOpen(); }
    void close() override;
    void write(std::string_view text) override;
    std::string readAll() override;
    void discardInput() override;
    std::string deviceName() const override { return device_; }
    std::string errorText() const override;

    // The port behind, once opened (tests, the simulated car's pump).
    SerialPort* current() { return port_.get(); }

private:
    void onReceive() override;
    void onError(PortError error) override;

    const DeviceMap& map_;
    Factory factory_;
    std::string device_;
    std::string error_;
    std::unique_ptr<SerialPort> port_;
};

} // namespace vcm
