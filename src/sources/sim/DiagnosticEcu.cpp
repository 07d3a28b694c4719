#include "sources/sim/DiagnosticEcu.h"

#include <algorithm>
#include <cmath>

namespace vcm::sim {

namespace {
constexpr double kReplyDelayMs = 2.0;     // the unit's answer time
constexpr double kSeparationMs = 1.0;     // between consecutive frames

std::uint8_t byteOf(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

CanFrame replyFrame(double ms, std::initializer_list<std::uint8_t> head, const std::uint8_t* rest, std::size_t n)
{
    CanFrame f;
    f.id = DiagnosticEcu::kReplyId;
    f.length = 8;
    f.timeMs = ms;
    std::size_t k = 0;
    for (auto b : head) f.data[k++] = b;
    for (std::size_t i = 0; i < n && k < 8; ++i) f.data[k++] = rest[i];
    return f;
}
} // namespace

std::vector<std::uint8_t> DiagnosticEcu::record(std::uint8_t id, const DriveSnapshot* car) const
{
    DriveSnapshot s = car ? *car : DriveSnapshot{};
    const std::size_t size = id == 0xC3 ? 37 : 15; // data bytes after "61 id"
    std::vector<std::uint8_t> r(size);
    // A few live values first, then slowly varying bytes; the layout of the real
    // record is not known, only its size.
    r[0] = byteOf(s.coolantC + 40);
    r[1] = byteOf(s.engineRpm / 32);
    r[2] = byteOf(s.speedKmh);
    r[3] = byteOf(s.engineOn ? 3 : 0);
    for (std::size_t k = 4; k < size; ++k)
        r[k] = static_cast<std::uint8_t>((k * 37 + id + static_cast<unsigned>(s.outsideTempC)) & 0xFF);
    return r;
}

void DiagnosticEcu::onFrame(const CanFrame& frame, double ms, const DriveSnapshot* car, std::vector<CanFrame>& out)
{
    if (frame.id != kRequestId || frame.length < 1) return;
    const std::uint8_t pci = frame.data[0];
    if ((pci & 0xF0) == 0x00 && pci >= 2 && frame.data[1] == 0x21) {
        const std::uint8_t recordId = frame.data[2];
        if (recordId != 0xC3 && recordId != 0xC4) {
            std::uint8_t none[] = {0};
            out.push_back(replyFrame(ms + kReplyDelayMs, {0x03, 0x7F, 0x21, 0x12}, none, 0));
            return;
        }
        auto data = record(recordId, car);
        const auto total = static_cast<std::uint8_t>(data.size() + 2);
        out.push_back(replyFrame(ms + kReplyDelayMs, {0x10, total, 0x61, recordId}, data.data(), 4));
        pending_.assign(data.begin() + 4, data.end());
        return;
    }
    if (pci == 0x30 && !pending_.empty()) {
        // Flow control "continue": all consecutive frames, no block limit.
        double t = ms + kReplyDelayMs;
        std::uint8_t sequence = 0x21;
        for (std::size_t at = 0; at < pending_.size(); at += 7) {
            std::size_t n = std::min<std::size_t>(7, pending_.size() - at);
            out.push_back(replyFrame(t, {sequence}, pending_.data() + at, n));
            sequence = static_cast<std::uint8_t>(sequence == 0x2F ? 0x20 : sequence + 1);
            t += kSeparationMs;
        }
        pending_.clear();
    }
}

} // namespace vcm::sim
