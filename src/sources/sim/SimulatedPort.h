#pragma once
// A serial port with the simulated car behind it: a virtual ELM327 or CANUSB on the
// bus of the drive model (or of a recording). It runs on the host's clock and thread:
// the host calls pump() often (every few milliseconds from a timer, or after moving a
// ManualClock in tests); pump() runs the car and the adapter on to the clock's time,
// moves the text the serial line has carried by then into the receive buffer, and
// calls the listener's onReceive() when text waits there.
//
// The speed of the settings text given to open() ("500000,N,8,1") limits how fast the
// adapter's text reaches the host, as on a real wire.
//
// Device names (what a user puts in place of a port device):
//   "sim:elm327"                      ELM327 on the drive model, seed 1
//   "sim:canusb:seed=7"               CANUSB on the drive model, seed 7
//   "sim:elm327:replay=/path/x.log"   ELM327 playing a candump log, over and over
#include "common/Clock.h"
#include "link/SerialPort.h"
#include "sources/sim/VirtualAdapter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vcm::sim {

enum class AdapterModel { Elm327, CanUsb };

struct SimulatedCar {
    AdapterModel adapter = AdapterModel::Elm327;
    std::uint64_t seed = 1;
    std::string replayPath; // candump log; empty = the drive model
};

// Reads a "sim:..." device name; nothing when it is not one or is malformed.
std::optional<SimulatedCar> parseSimulatedDevice(std::string_view device);
bool isSimulatedDevice(std::string_view device);

// The adapter of a description, on its bus. Fails (nullptr, reason in error) only when
// a replay file cannot be read or holds no frame.
std::unique_ptr<VirtualAdapter> makeVirtualAdapter(const SimulatedCar& car, std::string* error = nullptr);

class SimulatedPort final : public vcm::SerialPort {
public:
    // Text the host has not read beyond this is lost, and the listener hears
    // PortError::RxOverflow, as with a serial driver's receive buffer.
    static constexpr std::size_t kReceiveBuffer = 1 << 20;

    // The car starts at the clock's present time.
    SimulatedPort(const Clock& clock, std::unique_ptr<VirtualAdapter> adapter);
    // From a "sim:..." device name; nullptr (reason in error) when it is not usable.
    static std::unique_ptr<SimulatedPort> create(std::string_view device, const Clock& clock, std::string* error = nullptr);

    bool open(int portNumber, std::string_view settings) override;
    bool isOpen() const override { return open_; }
    void close() override;
    void write(std::string_view text) override;
    std::string readAll() override;
    void discardInput() override { received_.clear(); }
    std::string deviceName() const override { return adapter_->name(); }
    std::string errorText() const override { return error_; }

    // Runs the car and the adapter on to the clock's time; tells the listener when text waits.
    void pump();
    // Text received and not yet read.


    VirtualAdapter& adapter() { return *adapter_; }

private:
    double simTime() const { return clock_.tickCount() - originMs_; }
    void run(double ms);

    const Clock& clock_;
    std::unique_ptr<VirtualAdapter> adapter_;
    double originMs_;
    bool open_ = false;
    std::string received_;
    std::string error_;
    std::string scratch_;
    bool overflowed_ = false;
};

// The bit rate of a settings text "500000,N,8,1"; nothing when malformed.
std::optional<double> bitRateOf(std::string_view settings);

} // namespace vcm::sim
