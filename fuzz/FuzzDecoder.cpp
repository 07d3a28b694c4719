// Any bytes as adapter text, in either form, cut into chunks of any size: decoding must
// not crash, must keep the pending text bounded, and must reach the same values however
// the text was cut (the serial port cuts it anywhere).
//
// Input: byte 0 chooses the settings (bit 0 ELM327, bit 1 metric, bit 2 Celsius) and,
// with byte 1, the chunk sizes; the rest is the text.
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/FrameDecoder.h"
#include "decode/VehicleState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <tuple>

namespace {

struct Run {
    vcm::VehicleState state;
    vcm::MonitorSettings settings;
    vcm::ManualClock clock{1000};
    vcm::NullDecoderSink sink;
    vcm::FrameDecoder decoder{state, settings, clock, sink};
};

// Everything but the steering angle, whose reference lasts one call by design.
auto values(const vcm::VehicleState& v)
{
    return std::tie(v.EngineRpm, v.SpeedKmh, v.SpeedDisplay, v.Injector, v.EngineTorque, v.EngineTempRaw,
                    v.CoolantTemp, v.VvtiAngle, v.FuelRateLh, v.Pid348Value, v.ShiftLever, v.EvMode, v.Mg1Voltage,
                    v.BatteryCurrent, v.BatteryVoltage, v.StateOfCharge, v.BatteryTempA, v.ExtTemp, v.MgTemp,
                    v.AccelPedal, v.BrakePedal, v.FuelTankLevel, v.FuelAccumulator, v.DistanceAccumulator,
                    v.InstantConsumption, v.DiagReplyKind, v.C3Head, v.C4Head, v.C3Body, v.C4Body, v.DiagPart);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::uint8_t flags = data[0];
    std::uint32_t seed = static_cast<std::uint32_t>(data[0] << 8 | data[1]);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    Run whole, chunked;
    for (Run* r : {&whole, &chunked}) {
        r->settings.UseElm327 = flags & 1;
        r->settings.MetricUnits = flags & 2;
        r->settings.Celsius = flags & 4;
    }
    whole.decoder.decodeFrames(text);

    std::size_t p = 0;
    while (p < text.size()) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t n = std::min<std::size_t>(text.size() - p, (seed >> 16) % 40);
        chunked.decoder.decodeFrames(text.substr(p, n));
        if (chunked.decoder.pendingText().size() > vcm::FrameDecoder::kMaxPendingText) std::abort();
        p += n;
    }
    // Beyond the pending cap the two may legitimately differ (the oldest text is dropped).
    if (text.size() < vcm::FrameDecoder::kMaxPendingText) {
        if (values(whole.state) != values(chunked.state)) std::abort();
        if (whole.decoder.framesDecoded() != chunked.decoder.framesDecoded()) std::abort();
        if (whole.decoder.pendingText() != chunked.decoder.pendingText()) std::abort();
    }
    return 0;
}
