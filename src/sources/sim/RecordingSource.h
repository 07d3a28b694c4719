#pragma once
// Plays a recorded drive (frames with their times, as read from a candump log)
// instead of the drive model: the first frame comes at time 0 of the simulated bus,
// the others keep their spacing; at the end the recording starts over, one mean
// frame gap later, so a short sample can feed a long session.
#include "sources/sim/FrameSource.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace vcm::sim {

class RecordingSource final : public FrameSource {
public:
    explicit RecordingSource(std::vector<CanFrame> frames, bool loop = true);
    // Reads candump log text; lines that are not frames are skipped.
    static RecordingSource fromCandump(std::string_view text, bool loop = true);

    void framesUntil(double untilMs, std::vector<CanFrame>& out) override;
    std::size_t frameCount() const { return frames_.size(); }

private:
    std::vector<CanFrame> frames_; // times rebased to start at 0
    bool loop_;
    double lapMs_ = 0;
    double lapStartMs_ = 0;
    std::size_t next_ = 0;
};

} // namespace vcm::sim
