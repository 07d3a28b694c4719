#pragma once
// A decoder wired to a manual clock and a recording sink, metric units and Celsius
// unless a test changes the settings.
#include "AdapterText.h"
#include "RecordingSink.h"

#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/FrameDecoder.h"
#include "decode/VehicleState.h"

namespace vcm::test {

struct DecoderRig {
    explicit DecoderRig(bool useElm327 = false, bool metric = true, bool celsius = true, char separator = '.')
        : decoder(state, settings, clock, sink, separator)
    {
        settings.UseElm327 = useElm327;
        settings.MetricUnits = metric;
        settings.Celsius = celsius;
    }
    // Feeds one frame written "ID b1 b2 ..." in the adapter's own text.
    void frame(std::string_view f) { decoder.decodeFrames(adapterText(settings.UseElm327, f)); }

    VehicleState state;
    MonitorSettings settings;
    ManualClock clock{1000};
    RecordingSink sink;
    FrameDecoder decoder;
};

} // namespace vcm::test
