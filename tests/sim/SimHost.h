#pragma once
// A host for the simulated adapters as the acquisition loop would be one: a manual
// clock, a simulated port, and a pump that moves time on in small steps.
#include "support/RecordingListener.h"

#include "common/Clock.h"
#include "sources/sim/RecordingSource.h"
#include "sources/sim/SimulatedPort.h"
#include "sources/sim/VirtualCanUsb.h"
#include "sources/sim/VirtualElm327.h"

#include <memory>
#include <string>
#include <vector>

namespace vcm::sim::test {

struct SimHost {
    vcm::ManualClock clock{1000};
    std::unique_ptr<SimulatedPort> port;
    vcm::test::RecordingListener listener;

    explicit SimHost(std::unique_ptr<VirtualAdapter> adapter, const char* settings = "500000,N,8,1")
        : port(std::make_unique<SimulatedPort>(clock, std::move(adapter)))
    {
        port->setListener(&listener);
        port->open(1, settings);
    }
    // Moves time on by ms in 1 ms steps, pumping, and returns everything received.
    std::string runFor(double ms)
    {
        std::string got;
        for (double t = 0; t < ms; t += 1) {
            clock.advance(1);
            port->pump();
            got += port->readAll();
        }
        return got;
    }
    // Writes a command and collects what arrives in the next ms milliseconds.
    std::string exchange(const std::string& text, double ms = 50)
    {
        port->write(text);
        return runFor(ms);
    }
};

// The dashboard's set-up dialogue (the ELM327's up to ATMA); returns the replies.
// ATZ waits out the reset; the rest answer within a few milliseconds.
inline std::string startAdapter(SimHost& host, bool elm327)
{
    std::string all = elm327 ? "" : host.exchange("\r\r\r\r", 5);
    for (std::string cmd : elm327 ? std::vector<std::string>{"ATZ", "ATSP6", "ATE0", "ATH1", "ATL1", "ATCAF0"}
                                  : std::vector<std::string>{"V", "N", "S6", "Z0", "X1", "O"})
        all += host.exchange(cmd + "\r", cmd == "ATZ" ? 1000 : 20);
    return all;
}

// A bus that carries the frames given once, at their times less the first one's.
inline std::unique_ptr<FrameSource> fixedBus(std::vector<CanFrame> frames)
{
    return std::make_unique<RecordingSource>(std::move(frames), false);
}

inline CanFrame frame(double ms, std::uint16_t id, std::vector<std::uint8_t> bytes)
{
    CanFrame f;
    f.timeMs = ms;
    f.id = id;
    f.length = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t k = 0; k < bytes.size(); ++k) f.data[k] = bytes[k];
    return f;
}

} // namespace vcm::sim::test
