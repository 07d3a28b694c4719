#pragma once
// A decoder wired to a manual clock and a sink that records what the dashboard would be
// asked to do ("FuelFlow=12.5" for a caption, "ShowEngineGauge" for a display call);
// metric units and Celsius unless a test says otherwise. Frames are written
// "ID b1 b2 ..." and fed in the configured adapter's own text:
//   ELM327 "3CA 00 1A\r\n", CANUSB "t3CA2001A\r".
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/DecoderSink.h"
#include "decode/FrameDecoder.h"
#include "decode/VehicleState.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vcm::test {

struct RecordingSink final : DecoderSink {
    void setLabel(DecoderLabel label, std::string_view caption) override
    {
        static constexpr const char* names[] = {"SteeringAngle", "FuelFlow", "EngineTemperature", "Mg1Voltage",
                                                "ValveTiming", "ChargeLimit", "DischargeLimit", "Mg2Temperature"};
        events.push_back(names[static_cast<int>(label)] + ("=" + std::string(caption)));
    }
    void showEngineGauge() override { events.emplace_back("ShowEngineGauge"); }
    void showConsumption() override { events.emplace_back("ShowConsumption"); }
    void showCurrentGauge() override { events.emplace_back("ShowCurrentGauge"); }
    void showAccelGauge() override { events.emplace_back("ShowAccelGauge"); }
    void showTankLevel() override { events.emplace_back("ShowTankLevel"); }
    long count(const std::string& event) const { return std::count(events.begin(), events.end(), event); }
    std::vector<std::string> events;
};

struct DecoderRig {
    explicit DecoderRig(bool useElm327 = false, bool metric = true, bool celsius = true, char separator = '.')
        : decoder(state, settings, clock, sink, separator)
    {
        settings.UseElm327 = useElm327;
        settings.MetricUnits = metric;
        settings.Celsius = celsius;
    }
    void frame(std::string_view f)
    {
        if (settings.UseElm327) return decoder.decodeFrames(std::string(f) + "\r\n");
        std::string data;
        for (char c : f.substr(3)) if (c != ' ') data += c;
        decoder.decodeFrames("t" + std::string(f.substr(0, 3)) + std::to_string(data.size() / 2) + data + "\r");
    }

    VehicleState state;
    MonitorSettings settings;
    ManualClock clock{1000};
    RecordingSink sink;
    FrameDecoder decoder;
};

} // namespace vcm::test
