#pragma once
// The three ports of a Qt host (adapter, auxiliary, GPS), each routed at open to the
// device its number maps to (DeviceMap.h): a serial device through QSerialPort, or the
// in-process simulated car for devices "sim:elm327" and "sim:canusb".
#include "common/Clock.h"
#include "link/DeviceMap.h"
#include "link/RoutedSerialPort.h"

#include <map>
#include <memory>
#include <string>

namespace vcm {

// The port behind one device. Simulated adapters run on the given clock.
std::unique_ptr<SerialPort> makePort(const std::string& device, const Clock& clock);

// USB serial devices present (the macOS default mapping), by system path.
std::vector<std::string> presentUsbSerialDevices();

class QtPorts {
public:
    // overrides: the settings file's "[Ports]" section (readPortMap).
    QtPorts(std::map<int, std::string> overrides, const Clock& clock);

    SerialPort& adapter() { return adapter_; }
    SerialPort& aux() { return aux_; }
    SerialPort& gps() { return gps_; }
    const DeviceMap& deviceMap() const { return map_; }

private:
    DeviceMap map_;
    RoutedSerialPort adapter_;
    RoutedSerialPort aux_;
    RoutedSerialPort gps_;
};

} // namespace vcm
