// Any bytes as a value log: reading, the summary, the engine map and the down-sampled
// series must not crash, every row read must be counted in one of the columns, and the
// summary's times must add up.
#include "analysis/Downsample.h"
#include "analysis/EngineMapDensity.h"
#include "analysis/RunSummary.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vcm::LogReadResult read = vcm::parseValueLog(text, "fuzz.csv");
    if (!read.run) return 0;
    const vcm::RunData& run = *read.run;
    if (run.speedKmh.size() != run.rows() || run.fuelMl.size() != run.rows()) std::abort();
    const vcm::RunSummary s = vcm::summarize(run);
    double counted = 0;
    for (double m : s.modeSeconds) counted += m;
    if (std::abs(counted - (s.movingS + s.stoppedS)) > 1e-6 * (1 + counted)) std::abort();
    (void)vcm::engineMapDensity(run);
    if (vcm::peakKeepingDownsample(run.t, run.speedKmh, 100).size() > 200) std::abort();
    (void)vcm::runningConsumption(run);
    return 0;
}
