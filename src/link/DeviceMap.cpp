#include "link/DeviceMap.h"

#include <algorithm>
#include <utility>

namespace vcm {

DeviceMap::DeviceMap(std::map<int, std::string> overrides, Platform platform, std::vector<std::string> usbDevices)
    : overrides_(std::move(overrides)), platform_(platform), usbDevices_(std::move(usbDevices))
{
    std::sort(usbDevices_.begin(), usbDevices_.end());
}

std::string DeviceMap::deviceFor(int portNumber) const
{
    if (auto it = overrides_.find(portNumber); it != overrides_.end())
        return it->second;
    switch (platform_) {
    case Platform::Windows:
        return "COM" + std::to_string(portNumber);
    case Platform::MacOs:
        if (portNumber >= 1 && static_cast<std::size_t>(portNumber) <= usbDevices_.size())
            return usbDevices_[static_cast<std::size_t>(portNumber) - 1];
        return "/dev/cu.usbserial-" + std::to_string(portNumber);
    case Platform::Linux:
        break;
    }
    return "/dev/ttyUSB" + std::to_string(portNumber - 1);
}

bool isSimulatedDevice(std::string_view device) { return device.substr(0, 4) == "sim:"; }

} // namespace vcm
