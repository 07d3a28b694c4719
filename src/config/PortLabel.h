#pragma once
// The text of a port entry in the setup dialog's lists: "COM 3", or where the port
// number stands for a device file (Linux, macOS) the device beside it:
// "COM 3  (/dev/ttyUSB2)".
#include <map>
#include <string>

namespace vcm {

inline std::string portLabel(int portNumber, const std::map<int, std::string>& devices)
{
    std::string label = "COM " + std::to_string(portNumber);
    if (const auto it = devices.find(portNumber); it != devices.end() && !it->second.empty())
        label += "  (" + it->second + ")";
    return label;
}

} // namespace vcm
