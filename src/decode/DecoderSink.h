#pragma once
// What the frame decoder asks of the dashboard: the texts of the figures it owns and
// the display routines it calls right after a frame. DecoderEvents routes them to the
// dashboard model; tests record them; the decode report prints them under labelName.
#include <string_view>

namespace vcm {

enum class DecoderLabel {
    VolantValue,   // steering angle, degrees "0.0"
    LitrehValue,   // fuel flow, l/h "0.0"
    TemperThValue, // engine temperature byte, decimal
    vMg1Value,     // MG1 voltage, decimal
    VVtiValue,     // valve timing, general decimal
    MaxChrgValue,  // 3CB byte 1
    MaxDchrgValue, // 3CB byte 2
    TempMg2Value,  // 5EC byte 6
};

constexpr std::string_view labelName(DecoderLabel l)
{
    switch (l) {
    case DecoderLabel::VolantValue: return "VolantValue";
    case DecoderLabel::LitrehValue: return "LitrehValue";
    case DecoderLabel::TemperThValue: return "TemperThValue";
    case DecoderLabel::vMg1Value: return "vMg1Value";
    case DecoderLabel::VVtiValue: return "VVtiValue";
    case DecoderLabel::MaxChrgValue: return "MaxChrgValue";
    case DecoderLabel::MaxDchrgValue: return "MaxDchrgValue";
    case DecoderLabel::TempMg2Value: return "TempMg2Value";
    }
    return "";
}

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
