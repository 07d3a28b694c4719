// Any bytes as GPS receiver text and as a GPS recording: decoding in chunks of any size
// and spreading the recording over a drive must not crash; the recording's text comes
// out whole and once, and every tick is bounded.
//
// Input: byte 0 chooses the decimal separator and the chunk sizes, byte 1 the drive length.
#include "TempFile.h"
#include "sources/replay/GpsRecordingFeed.h"
#include "sources/replay/RecordingError.h"
#include "logging/GpsDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const char sep = (data[0] & 1) ? ',' : '.';
    std::uint32_t seed = data[0];
    const double driveMs = 2050.0 * (data[1] % 64);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    vcm::GpsState gps;
    for (std::size_t p = 0; p < text.size();) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t n = std::min<std::size_t>(text.size() - p, 1 + (seed >> 16) % 200);
        vcm::decodeGpsText(text.substr(p, n), gps, sep);
        vcm::takeStartAltitude(gps);
        p += n;
    }

    const std::string& path = vcm::fuzz::writeTempFile(data + 2, size - 2, ".gps");
    try {
        vcm::GpsRecordingFeed feed(path, driveMs);
        std::size_t total = 0;
        for (std::size_t k = 1; k <= feed.ticks() + 1; ++k) total += feed.textForTick(k).size();
        if (total > text.size()) std::abort();
    } catch (const vcm::RecordingError&) {
    }
    return 0;
}
