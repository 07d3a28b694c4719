#pragma once
// A DecoderSink that records what the dashboard would have been asked to do, in order:
// "VolantValue=12.5" for a caption, "ShowEngineGauge" for a display call.
#include "decode/DecoderSink.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vcm::test {

class RecordingSink final : public DecoderSink {
public:
    void setLabel(DecoderLabel label, std::string_view caption) override
    {
        events.push_back(std::string(labelName(label)) + "=" + std::string(caption));
        captions[static_cast<std::size_t>(label)] = caption;
    }
    void showEngineGauge() override { events.emplace_back("ShowEngineGauge"); }
    void showConsumption() override { events.emplace_back("ShowConsumption"); }
    void showCurrentGauge() override { events.emplace_back("ShowCurrentGauge"); }
    void showAccelGauge() override { events.emplace_back("ShowAccelGauge"); }
    void showTankLevel() override { events.emplace_back("ShowTankLevel"); }

    std::string caption(DecoderLabel label) const { return captions[static_cast<std::size_t>(label)]; }
    long count(const std::string& event) const { return std::count(events.begin(), events.end(), event); }

    std::vector<std::string> events;
    std::string captions[8];
};

} // namespace vcm::test
