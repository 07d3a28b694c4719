// Any bytes as a recording file: the guess, the choice of reader and reading every
// chunk must not crash, and must end with output bounded by the input (a bad stamp or
// marker must never make the reader go on without end).
#include "TempFile.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/RecordingSource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)vcm::guessRecording(text);
    (void)vcm::guessAdapterForm(text);

    vcm::RecordingOptions options;
    options.startEpoch = 1700000000;
    if (size > 0 && (data[0] & 1)) options.form = vcm::AdapterForm::CanUsb;
    options.note = [](const std::string&) {};
    const std::string& path = vcm::fuzz::writeTempFile(data, size, ".rec");
    try {
        const auto source = vcm::openRecording(path, options);
        (void)source->durationMs();
        vcm::RecordedChunk chunk;
        std::size_t chunks = 0, characters = 0;
        while (source->next(chunk)) {
            ++chunks;
            characters += chunk.text.size();
            // A candump line of 20 characters may become an ELM327 line of 30; nothing grows more.
            if (chunks > size + 1 || characters > 4 * size + 64) std::abort();
            const double f = source->fractionRead();
            if (!(f >= 0 && f <= 1)) std::abort();
        }
    } catch (const vcm::RecordingError&) {
    }
    return 0;
}
