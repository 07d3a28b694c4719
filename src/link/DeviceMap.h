#pragma once
// Which device a port number names. The settings keep the adapter's port as a number n
// ("COMn"); every platform maps it predictably:
//   Windows  "COMn"
//   Linux    "/dev/ttyUSB<n-1>"          COM1 -> /dev/ttyUSB0 (USB serial adapters)
//   macOS    the n-th USB serial device present, in name order
//            (/dev/cu.usbmodem*, /dev/cu.usbserial*), "/dev/cu.usbserial-<n>" when
//            fewer are plugged in
// The settings file's "[Ports]" section overrides any number with any device:
//   COM1=/dev/rfcomm0   COM2=/dev/pts/7   COM3=sim:elm327
// A device starting "sim:" ("sim:elm327", "sim:canusb") is the simulated car.
#include "common/Platform.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

class DeviceMap {
public:
    // overrides: the "[Ports]" section; usbDevices: the USB serial devices present
    // (macOS default), in any order.
    explicit DeviceMap(std::map<int, std::string> overrides = {}, Platform platform = currentPlatform(),
                       std::vector<std::string> usbDevices = {});

    std::string deviceFor(int portNumber) const;

private:
    std::map<int, std::string> overrides_;
    Platform platform_;
    std::vector<std::string> usbDevices_;
};

bool isSimulatedDevice(std::string_view device);

} // namespace vcm
