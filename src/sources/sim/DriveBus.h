#pragma once
// The bus traffic of the simulated car: the drive model's values encoded into the
// identifiers the dashboard decodes, each at the period measured on a real car of
// this kind, among other identifiers of a real bus that the dashboard does not read.
// About 1500 frames a second, about 40 % of a 500 kbit/s bus.
//
// Periods (ms): 030 6; 038 039 03A 03B 8; 025 13; 0B4 14; 244 25; 348 44; 3C8 70;
// 3CA 3CB 108; 3CF 139; 5EC 526; 526 530; 529 1000 and when the EV flag changes;
// 540 1049; 52C 1050; 520 2231 and when the engine starts or stops; 5A4 3400.
// Frames due at the same moment go out one after the other, as on a real bus: each
// takes its bit time at 500 kbit/s, and its time stamp is when its last bit has gone.
#include "sources/sim/DriveModel.h"
#include "sources/sim/FrameSource.h"

#include <cstdint>
#include <vector>

namespace vcm::sim {

class DriveBus final : public FrameSource {
public:
    explicit DriveBus(std::uint64_t seed);

    void framesUntil(double untilMs, std::vector<CanFrame>& out) override;
    const DriveSnapshot* car() const override { return &model_.state(); }
    // The model behind the frames, as of the last frame sent.
    const DriveModel& model() const { return model_; }

    // Encodes the model's values for one identifier (exposed for tests and tools).
    static CanFrame encode(std::uint16_t id, const DriveSnapshot& s, std::uint32_t counter);

private:
    struct Slot {
        std::uint16_t id;
        double periodMs;
        double nextDueMs;
        std::uint32_t count = 0;
    };
    Slot* slotFor(std::uint16_t id);
    Slot* earliest(); // the slot due first, the lower identifier on a tie
    void sendNowIfChanged(std::uint16_t id, bool changed, double ms);

    DriveModel model_;
    std::vector<Slot> slots_;
    double busFreeAtMs_ = 0;
    bool lastEvMode_ = false;
    bool lastEngineFiring_ = false;
};

// Bit time of a standard frame with n data bytes at 500 kbit/s, with typical stuffing.
double frameDurationMs(int dataBytes);

} // namespace vcm::sim
