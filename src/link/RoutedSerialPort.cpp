#include "link/RoutedSerialPort.h"

#include <utility>

namespace vcm {

RoutedSerialPort::RoutedSerialPort(const DeviceMap& map, Factory factory) : map_(map), factory_(std::move(factory)) {}

RoutedSerialPort::~RoutedSerialPort()
{
    if (port_)
        port_->setListener(nullptr);
}

bool RoutedSerialPort::open(int portNumber, std::string_view settings)
{
    const std::string device = map_.deviceFor(portNumber);
    if (port_ && device != device_) {
        port_->close();
        port_->setListener(nullptr);
        port_.reset();
    }
    device_ = device;
    error_.clear();
    if (!port_) {
        port_ = factory_(device);
        if (!port_) {
            error_ = "no such device";
            return false;
        }
        port_->setListener(this);
    }
    return port_->open(portNumber, settings);
}

void RoutedSerialPort::close()
{
    if (port_)
        port_->close();
}

void RoutedSerialPort::write(std::string_view text)
{
    if (port_)
        port_->write(text);
}

std::string RoutedSerialPort::readAll() { return port_ ? port_->readAll() : std::string(); }

void RoutedSerialPort::discardInput()
{
    if (port_)
        port_->discardInput();
}

std::string RoutedSerialPort::errorText() const { return port_ ? port_->errorText() : error_; }

void RoutedSerialPort::onReceive()
{
    if (listener())
        listener()->onReceive();
}

void RoutedSerialPort::onError(PortError error)
{
    if (listener())
        listener()->onError(error);
}

} // namespace vcm
