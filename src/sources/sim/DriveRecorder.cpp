#include "sources/sim/DriveRecorder.h"

#include "link/canformat/CandumpLog.h"

#include <cmath>
#include "sources/sim/DriveBus.h"
#include "sources/sim/VirtualCanUsb.h"
#include "sources/sim/VirtualElm327.h"

namespace vcm::sim {

namespace {

constexpr double kEpochStart = 1700000000.0;

// A host that talks to the adapter in simulated time and keeps all it hears.
struct ScriptedHost {
    VirtualAdapter& adapter;
    std::string heard;
    double now = 0;

    void runTo(double ms)
    {
        for (; now < ms; now += 1) {
            adapter.advanceTo(now + 1);
            adapter.line().deliverUntil(now + 1, heard);
        }
    }
    void send(std::string_view text, double waitMs)
    {
        adapter.receive(text, now);
        runTo(now + waitMs);
    }
};

std::string upToLastLineEnd(std::string text)
{
    auto end = text.find_last_of('\r');
    if (end == std::string::npos) return {};
    if (end + 1 < text.size() && text[end + 1] == '\n') ++end;
    text.resize(end + 1);
    return text;
}

} // namespace

std::optional<RecordFormat> recordFormatNamed(std::string_view name)
{
    if (name == "elm327") return RecordFormat::Elm327;
    if (name == "canusb") return RecordFormat::CanUsb;
    if (name == "candump") return RecordFormat::Candump;
    return std::nullopt;
}

std::string recordDrive(RecordFormat format, double seconds, std::uint64_t seed)
{
    const double endMs = seconds * 1000;
    if (format == RecordFormat::Candump) {
        DriveBus bus(seed);
        std::vector<CanFrame> frames;
        bus.framesUntil(endMs, frames);
        std::string out;
        out.reserve(frames.size() * 40);
        // Whole microseconds, so the text never shows a rounding of the binary value.
        for (const auto& f : frames)
            vcm::appendCandumpLine(out, std::llround((kEpochStart + f.timeMs / 1000.0) * 1e6), "can0", f);
        return out;
    }
    if (format == RecordFormat::Elm327) {
        VirtualElm327 elm(std::make_unique<DriveBus>(seed));
        ScriptedHost host{elm, {}, 0};
        host.send("ATZ\r", VirtualElm327::kResetMs + 50);
        for (const char* cmd : {"ATSP6\r", "ATE0\r", "ATH1\r", "ATL1\r", "ATCAF0\r", "ATMA\r"}) host.send(cmd, 20);
        host.runTo(endMs);
        return upToLastLineEnd(std::move(host.heard));
    }
    VirtualCanUsb canusb(std::make_unique<DriveBus>(seed));
    ScriptedHost host{canusb, {}, 0};
    host.send("\r\r\r\r", 5);
    for (const char* cmd : {"V\r", "N\r", "S6\r", "Z0\r", "X1\r", "O\r"}) host.send(cmd, 5);
    bool request = true;
    while (host.now + 100 <= endMs) {
        host.send(request ? "t7E280221C30000000000\r" : "t7E283000000000000000\r", 100);
        request = !request;
    }
    host.runTo(endMs);
    return upToLastLineEnd(std::move(host.heard));
}

} // namespace vcm::sim
