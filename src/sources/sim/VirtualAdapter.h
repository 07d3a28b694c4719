#pragma once
// A bus adapter of the simulated car: it takes the host's characters, runs the bus
// up to a given time, and writes its replies and the frames it passes on into its
// serial line towards the host. Times are milliseconds of simulated time.
#include "sources/sim/FrameSource.h"
#include "sources/sim/SerialLine.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vcm::sim {

class VirtualAdapter {
public:
    explicit VirtualAdapter(std::unique_ptr<FrameSource> bus) : bus_(std::move(bus)) {}
    virtual ~VirtualAdapter() = default;

    // Characters the host wrote, arriving at time ms (not earlier than the last advanceTo).
    virtual void receive(std::string_view text, double ms) = 0;
    // Runs the bus and the adapter on to time ms.
    virtual void advanceTo(double ms) = 0;
    // "simulated ELM327", "simulated CANUSB".
    virtual std::string name() const = 0;

    SerialLine& line() { return line_; }
    const SerialLine& line() const { return line_; }
    FrameSource& bus() { return *bus_; }

protected:
    // The frames of the bus up to ms, in time order (reuses one buffer).
    const std::vector<CanFrame>& busFramesUntil(double ms)
    {
        frames_.clear();
        bus_->framesUntil(ms, frames_);
        return frames_;
    }

    SerialLine line_;

private:
    std::unique_ptr<FrameSource> bus_;
    std::vector<CanFrame> frames_;
};

} // namespace vcm::sim
