// Any bytes as the start of a raw-log chunk: marker, stamp and prefix parsing must not
// crash, and what they report must lie inside the text.
#include "sources/replay/RawLogSource.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool inside(std::string_view part, std::string_view whole)
{
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (const auto marker = vcm::parseRawMarker(text)) {
        if (!inside(marker->stamp, text) || !std::isfinite(marker->tick)) std::abort();
        if (const auto stamp = vcm::parseMarkerStamp(marker->stamp)) {
            if (stamp->hour < 0 || stamp->hour > 23 || stamp->minute < 0 || stamp->minute > 59 || stamp->second < 0 ||
                stamp->second > 60)
                std::abort();
        }
    }
    (void)vcm::parseMarkerStamp(text);

    std::size_t markerLength = 0;
    vcm::RawMarker marker;
    if (const auto prefix = vcm::rawPrefixLength(text, markerLength, &marker)) {
        if (*prefix + markerLength > text.size() || !inside(marker.stamp, text)) std::abort();
    }
    return 0;
}
