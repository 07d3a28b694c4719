#include "sources/sim/RecordingSource.h"

#include "link/canformat/CandumpLog.h"

namespace vcm::sim {

RecordingSource::RecordingSource(std::vector<CanFrame> frames, bool loop) : frames_(std::move(frames)), loop_(loop)
{
    if (frames_.empty()) return;
    const double origin = frames_.front().timeMs;
    for (auto& f : frames_) f.timeMs -= origin;
    const double span = frames_.back().timeMs;
    const double meanGap = frames_.size() > 1 ? span / static_cast<double>(frames_.size() - 1) : 1.0;
    lapMs_ = span + (meanGap > 0 ? meanGap : 1.0);
}

RecordingSource RecordingSource::fromCandump(std::string_view text, bool loop)
{
    std::vector<CanFrame> frames;
    vcm::forEachCandumpLine(text, [&](const CandumpLine& parsed) {
        // Only the classic frames the simulated adapters carry; the time stamp in ms.
        if (parsed.kind == CandumpLine::Kind::Frame) {
            frames.push_back(CanFrame{parsed.frame, static_cast<double>(parsed.timeUs / 1000000) * 1000.0 +
                                                        static_cast<double>(parsed.timeUs % 1000000) / 1000.0});
        }
        return true;
    });
    return RecordingSource(std::move(frames), loop);
}

void RecordingSource::framesUntil(double untilMs, std::vector<CanFrame>& out)
{
    while (!frames_.empty()) {
        if (next_ == frames_.size()) {
            if (!loop_) return;
            next_ = 0;
            lapStartMs_ += lapMs_;
        }
        CanFrame f = frames_[next_];
        f.timeMs += lapStartMs_;
        if (f.timeMs > untilMs) return;
        out.push_back(f);
        ++next_;
    }
}

} // namespace vcm::sim
