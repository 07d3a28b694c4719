#include "sources/sim/SimulatedPort.h"

#include "sources/sim/DriveBus.h"
#include "sources/sim/RecordingSource.h"
#include "sources/sim/VirtualCanUsb.h"
#include "sources/sim/VirtualElm327.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace vcm::sim {

std::optional<double> bitRateOf(std::string_view settings)
{
    auto comma = settings.find(',');
    auto rate = settings.substr(0, comma);
    long value = 0;
    auto [end, ec] = std::from_chars(rate.data(), rate.data() + rate.size(), value);
    if (ec != std::errc() || end != rate.data() + rate.size() || value < 300 || value > 4000000) return std::nullopt;
    if (comma != std::string_view::npos && settings.substr(comma) != ",N,8,1") return std::nullopt;
    return static_cast<double>(value);
}

bool isSimulatedDevice(std::string_view device) { return device.substr(0, 4) == "sim:"; }

std::optional<SimulatedCar> parseSimulatedDevice(std::string_view device)
{
    if (!isSimulatedDevice(device)) return std::nullopt;
    device.remove_prefix(4);
    auto colon = device.find(':');
    auto kind = device.substr(0, colon);
    SimulatedCar car;
    if (kind == "elm327") car.adapter = AdapterModel::Elm327;
    else if (kind == "canusb") car.adapter = AdapterModel::CanUsb;
    else return std::nullopt;
    if (colon == std::string_view::npos) return car;
    auto option = device.substr(colon + 1);
    if (option.substr(0, 5) == "seed=") {
        auto digits = option.substr(5);
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), car.seed);
        if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
    } else if (option.substr(0, 7) == "replay=" && option.size() > 7) {
        car.replayPath = std::string(option.substr(7));
    } else {
        return std::nullopt;
    }
    return car;
}

std::unique_ptr<VirtualAdapter> makeVirtualAdapter(const SimulatedCar& car, std::string* error)
{
    std::unique_ptr<FrameSource> bus;
    if (car.replayPath.empty()) {
        bus = std::make_unique<DriveBus>(car.seed);
    } else {
        std::ifstream in(car.replayPath, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        auto recording = RecordingSource::fromCandump(text.str());
        if (!in || recording.frameCount() == 0) {
            if (error) *error = "no candump frames in " + car.replayPath;
            return nullptr;
        }
        bus = std::make_unique<RecordingSource>(std::move(recording));
    }
    if (car.adapter == AdapterModel::Elm327) return std::make_unique<VirtualElm327>(std::move(bus));
    return std::make_unique<VirtualCanUsb>(std::move(bus));
}

SimulatedPort::SimulatedPort(const Clock& clock, std::unique_ptr<VirtualAdapter> adapter)
    : clock_(clock), adapter_(std::move(adapter)), originMs_(clock.tickCount())
{
}

std::unique_ptr<SimulatedPort> SimulatedPort::create(std::string_view device, const Clock& clock, std::string* error)
{
    auto car = parseSimulatedDevice(device);
    if (!car) {
        if (error) *error = "not a simulated device: " + std::string(device);
        return nullptr;
    }
    auto adapter = makeVirtualAdapter(*car, error);
    if (!adapter) return nullptr;
    return std::make_unique<SimulatedPort>(clock, std::move(adapter));
}

void SimulatedPort::run(double ms)
{
    adapter_->advanceTo(ms);
    scratch_.clear();
    adapter_->line().deliverUntil(ms, scratch_);
    // With the port closed the adapter still talks, but nobody hears it.
    if (!open_) return;
    const std::size_t room = kReceiveBuffer - std::min(received_.size(), kReceiveBuffer);
    received_.append(scratch_, 0, std::min(room, scratch_.size()));
    if (scratch_.size() > room) overflowed_ = true;
}

bool SimulatedPort::open(int /*portNumber*/, std::string_view settings)
{
    auto rate = bitRateOf(settings);
    if (!rate) {
        error_ = "invalid settings: " + std::string(settings);
        return false;
    }
    run(simTime());
    adapter_->line().setSpeed(*rate);
    open_ = true;
    error_.clear();
    received_.clear();
    return true;
}

void SimulatedPort::close()
{
    if (open_) run(simTime());
    open_ = false;
    received_.clear();
}

void SimulatedPort::write(std::string_view text)
{
    if (!open_) return;
    const double ms = simTime();
    run(ms);
    adapter_->receive(text, ms);
}

std::string SimulatedPort::readAll()
{
    std::string out;
    out.swap(received_);
    return out;
}

void SimulatedPort::pump()
{
    const std::size_t before = received_.size();
    run(simTime());
    if (overflowed_) {
        overflowed_ = false;
        if (listener()) listener()->onError(PortError::RxOverflow);
    }
    if (open_ && received_.size() > before && listener()) listener()->onReceive();
}

} // namespace vcm::sim
