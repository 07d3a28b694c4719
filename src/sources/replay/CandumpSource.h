#pragma once
// A can-utils candump log replayed as adapter text: the frames of one millisecond
// (the resolution of the tick count) arrive together as one chunk, written in the
// chosen adapter's form. Frames the car's bus cannot carry are skipped and counted.
// One interface is replayed (two buses merged would count every metre twice): the one
// asked for, or the first in the file; the frames of others are skipped with a note.
#include "link/canformat/CandumpLog.h"
#include "sources/replay/FileReader.h"
#include "sources/replay/RecordingSource.h"

#include <map>

namespace vcm {

class CandumpSource final : public RecordingSource {
public:
    CandumpSource(const std::string& path, AdapterForm form, const RecordingOptions& options);
    ~CandumpSource() override;
    bool next(RecordedChunk& chunk) override;
    RecordingKind kind() const override { return RecordingKind::Candump; }
    AdapterForm form() const override { return form_; }
    double fractionRead() const override;
    std::optional<double> durationMs() const override;

private:
    // Reads the next frame line into pending_; false at the end.
    bool readFrame();
    void reportSkipped();
    bool onChosenChannel(std::string_view interface);

    FileReader in_;
    AdapterForm form_;
    RecordingOptions options_;
    bool havePending_ = false;
    std::int64_t pendingUs_ = 0;
    CanFrame pending_;
    bool started_ = false;
    std::int64_t firstUs_ = 0;
    std::int64_t lastUs_ = 0;
    std::map<std::string, std::size_t, std::less<>> skipped_;
    bool reported_ = false;
    bool toldTimeBack_ = false;
    std::string channel_;
    bool toldOtherChannel_ = false;
};

} // namespace vcm
