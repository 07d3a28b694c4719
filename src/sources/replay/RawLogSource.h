#pragma once
// Replays the program's raw log (logging/RawMarker.h has its format): each chunk as it
// was received, timed by its marker.
#include "common/DateTime.h"
#include "sources/replay/FileReader.h"
#include "sources/replay/RecordingSource.h"
#include "logging/RawMarker.h"

#include <optional>
#include <string_view>

namespace vcm {

class RawLogSource final : public RecordingSource {
public:
    RawLogSource(const std::string& path, AdapterForm form, const RecordingOptions& options);
    bool next(RecordedChunk& chunk) override;
    RecordingKind kind() const override { return RecordingKind::RawLog; }
    AdapterForm form() const override { return form_; }
    double fractionRead() const override;
    std::optional<double> durationMs() const override;

private:
    std::int64_t anchorEpoch(const RawMarker& first);   // seconds of the first marker's stamp
    std::int64_t anchorEpochUs(const RawMarker& first); // its moment within that second too
    void advanceTo(double tick, double from);           // time moves on by tick - from

    FileReader in_;
    AdapterForm form_;
    RecordingOptions options_;
    bool started_ = false;
    double firstPhaseMs_ = 0; // the first marker's moment within its stamp's second
    double firstTick_ = 0;
    double lastTick_ = 0;
    std::optional<double> backTick_; // a count that went back, held still
    std::int64_t firstUs_ = 0;
    std::int64_t lastUs_ = 0;
    bool ended_ = false;
    bool toldTickBack_ = false;
};

} // namespace vcm
