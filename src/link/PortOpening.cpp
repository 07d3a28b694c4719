#include "link/PortOpening.h"

#include "common/Format.h"

namespace vcm {

std::string adapterSettingsText(std::int32_t bps)
{
    return formatNumber(bps, NumberPattern::Whole, '.') + ",N,8,1";
}

bool reopenPort(SerialPort& port, int number, std::string_view settings)
{
    if (port.isOpen())
        port.close();
    if (!port.open(number, settings))
        return false;
    port.discardInput();
    return true;
}

std::string deviceAndReason(const SerialPort& port)
{
    const std::string reason = port.errorText();
    return port.deviceName() + ": " + (reason.empty() ? std::string("no reason given") : reason);
}

} // namespace vcm
