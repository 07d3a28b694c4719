#include "sources/qt/QtSimulatedPort.h"

#include <utility>

namespace vcm {

QtSimulatedPort::QtSimulatedPort(std::unique_ptr<sim::SimulatedPort> port, QObject* parent)
    : QObject(parent), port_(std::move(port))
{
    port_->setListener(this);
    pump_.setTimerType(Qt::PreciseTimer);
    connect(&pump_, &QTimer::timeout, this, [this] { port_->pump(); });
}

QtSimulatedPort::~QtSimulatedPort() { port_->setListener(nullptr); }

bool QtSimulatedPort::open(int portNumber, std::string_view settings)
{
    if (!port_->open(portNumber, settings))
        return false;
    pump_.start(PumpEveryMs);
    return true;
}

void QtSimulatedPort::close()
{
    pump_.stop();
    port_->close();
}

void QtSimulatedPort::onReceive()
{
    if (listener())
        listener()->onReceive();
}

void QtSimulatedPort::onError(PortError error)
{
    if (error == PortError::DeviceLost)
        pump_.stop();
    if (listener())
        listener()->onError(error);
}

} // namespace vcm
