#include "sources/replay/PacedTextSource.h"

#include <algorithm>
#include <cmath>

namespace vcm {

PacedTextSource::PacedTextSource(const std::string& path, AdapterForm form, int bitsPerSecond, std::int64_t startEpoch)
    : in_(path), form_(form), charsPerMs_(std::max(1, bitsPerSecond) / 10.0 / 1000.0), startUs_(startEpoch * 1000000)
{
}

bool PacedTextSource::next(RecordedChunk& chunk)
{
    // Chunk i holds the characters that have arrived by the end of millisecond i + 1.
    for (;;) {
        const auto due = static_cast<std::uint64_t>(std::floor(static_cast<double>(chunkIndex_ + 1) * charsPerMs_));
        const std::uint64_t count = due - in_.consumed();
        ++chunkIndex_;
        if (count == 0) {
            if (in_.peek(1).empty())
                return false;
            continue; // slow lines: nothing complete in this millisecond
        }
        const std::string_view text = in_.peek(static_cast<std::size_t>(count));
        if (text.empty())
            return false;
        chunk.text.assign(text.substr(0, static_cast<std::size_t>(count)));
        in_.consume(chunk.text.size());
        chunk.tickMs = static_cast<double>(chunkIndex_);
        chunk.timeUs = startUs_ + static_cast<std::int64_t>(chunkIndex_) * 1000;
        return true;
    }
}

double PacedTextSource::fractionRead() const
{
    return in_.size() == 0 ? 0.0 : static_cast<double>(in_.consumed()) / static_cast<double>(in_.size());
}

std::optional<double> PacedTextSource::durationMs() const
{
    return std::ceil(static_cast<double>(in_.size()) / charsPerMs_);
}

} // namespace vcm
