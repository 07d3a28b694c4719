#pragma once
// The simulated car as a port of a Qt host ("sim:elm327", "sim:canusb:seed=7", ...):
// a timer runs the car and its adapter on to the clock's time every few milliseconds
// while the port is open, so the program acquires with no hardware attached.
#include "link/SerialPort.h"
#include "sources/sim/SimulatedPort.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace vcm {

class QtSimulatedPort final : public QObject, public SerialPort, private PortListener {
    Q_OBJECT
public:
    static constexpr int PumpEveryMs = 5;

    explicit QtSimulatedPort(std::unique_ptr<sim::SimulatedPort> port, QObject* parent = nullptr);
    ~QtSimulatedPort() override;

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return port_->isOpen(); }
    void close() override;
    void write(std::string_view text) override { port_->write(text); }
    std::string readAll() override { return port_->readAll(); }
    void discardInput() override { port_->discardInput(); }
    std::string deviceName() const override { return port_->deviceName(); }
    std::string errorText() const override { return port_->errorText(); }

private:
    void onReceive() override;
    void onError(PortError error) override;

    std::unique_ptr<sim::SimulatedPort> port_;
    QTimer pump_;
};

} // namespace vcm
