#pragma once
// Plain adapter text (a capture of the serial line without time marks), delivered as
// the serial line would have: at 10 bits per character, one chunk per millisecond.
// At 500000 bit/s that is 50 characters a millisecond.
#include "sources/replay/FileReader.h"
#include "sources/replay/RecordingSource.h"

namespace vcm {

class PacedTextSource final : public RecordingSource {
public:
    PacedTextSource(const std::string& path, AdapterForm form, int bitsPerSecond, std::int64_t startEpoch);
    bool next(RecordedChunk& chunk) override;
    RecordingKind kind() const override { return RecordingKind::AdapterText; }
    AdapterForm form() const override { return form_; }
    double fractionRead() const override;
    std::optional<double> durationMs() const override;


private:
    FileReader in_;
    AdapterForm form_;
    double charsPerMs_;
    std::int64_t startUs_;
    std::uint64_t chunkIndex_ = 0;
};

} // namespace vcm
