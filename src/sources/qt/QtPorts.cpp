#include "sources/qt/QtPorts.h"

#include "sources/qt/QtCandumpPort.h"
#include "link/qt/QtSerialPort.h"
#include "sources/qt/QtSimulatedPort.h"
#include "sources/sim/SimulatedPort.h"

#include <QSerialPortInfo>

#include <utility>

namespace vcm {

std::unique_ptr<SerialPort> makePort(const std::string& device, const Clock& clock)
{
    if (auto candump = parseLiveCandumpDevice(device))
        return std::make_unique<QtCandumpPort>(std::move(*candump));
    if (isSimulatedDevice(device)) {
        auto simulated = sim::SimulatedPort::create(device, clock);
        if (!simulated)
            return nullptr;
        return std::make_unique<QtSimulatedPort>(std::move(simulated));
    }
    return std::make_unique<QtSerialPort>(device);
}

std::vector<std::string> presentUsbSerialDevices()
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString path = info.systemLocation();
        if (path.startsWith("/dev/cu.usbserial") || path.startsWith("/dev/cu.usbmodem"))
            devices.push_back(path.toStdString());
    }
    return devices;
}

QtPorts::QtPorts(std::map<int, std::string> overrides, const Clock& clock)
    : map_(std::move(overrides), currentPlatform(),
           currentPlatform() == Platform::MacOs ? presentUsbSerialDevices() : std::vector<std::string>{}),
      adapter_(map_, [&clock](const std::string& d) { return makePort(d, clock); }),
      aux_(map_, [&clock](const std::string& d) { return makePort(d, clock); }),
      gps_(map_, [&clock](const std::string& d) { return makePort(d, clock); })
{
}

} // namespace vcm
