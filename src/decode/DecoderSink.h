#pragma once
// What the frame decoder asks of the dashboard: the texts of the figures it owns and
// the display routines it calls right after a frame. DecoderEvents routes them to the
// dashboard model; tests record them; the decode report prints them.
#include <cstddef>
#include <string_view>

namespace vcm {

enum class DecoderLabel {
    SteeringAngle,     // degrees, "0.0"
    FuelFlow,          // l/h, "0.0"
    EngineTemperature, // raw byte, decimal
    Mg1Voltage,        // volts, decimal
    ValveTiming,       // degrees, general number
    ChargeLimit,       // battery's charge limit, 3CB byte 1
    DischargeLimit,    // battery's discharge limit, 3CB byte 2
    Mg2Temperature,    // 5EC byte 6
};
inline constexpr std::size_t kDecoderLabelCount = 8;

class DecoderSink {
public:
    virtual ~DecoderSink() = default;
    virtual void setLabel(DecoderLabel label, std::string_view caption) = 0;
    // The display routines, each called with Force = false.
    virtual void showEngineGauge() = 0;
    virtual void showConsumption() = 0;
    virtual void showCurrentGauge() = 0;
    virtual void showAccelGauge() = 0;
    virtual void showTankLevel() = 0;
};

// A sink that shows nothing (benchmarks, hosts without a dashboard).
class NullDecoderSink final : public DecoderSink {
public:
    void setLabel(DecoderLabel, std::string_view) override {}
    void showEngineGauge() override {}
    void showConsumption() override {}
    void showCurrentGauge() override {}
    void showAccelGauge() override {}
    void showTankLevel() override {}
};

} // namespace vcm
