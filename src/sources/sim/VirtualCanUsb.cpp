#include "sources/sim/VirtualCanUsb.h"

#include "sources/sim/DriveBus.h"
#include "common/Hex.h"
#include "link/canformat/AdapterText.h"

#include <algorithm>
#include <cmath>

namespace vcm::sim {

namespace {
constexpr char kOk[] = "\r";
constexpr char kError[] = "\a";
constexpr std::uint8_t kFlagQueueFull = 0x01;
constexpr std::uint8_t kFlagOverrun = 0x08;
constexpr std::size_t kLongestLine = 26; // "t" + 3 + 1 + 16 + 4 + CR
} // namespace

VirtualCanUsb::VirtualCanUsb(std::unique_ptr<FrameSource> bus) : VirtualAdapter(std::move(bus)) {}

void VirtualCanUsb::passOn(const CanFrame& frame)
{
    if (!open_) return;
    if (!autoPoll_) {
        if (queue_.size() >= kQueueFrames) {
            flags_ |= kFlagQueueFull;
            return;
        }
        queue_.push_back(frame);
        return;
    }
    // Auto-poll: the frame waits in the queue only while the serial line is busy.
    if (line_.backlogAt(frame.timeMs) > kQueueFrames * kLongestLine) {
        flags_ |= kFlagOverrun;
        return;
    }
    scratch_.clear();
    appendLawicelFrame(scratch_, frame, timestamps_ ? static_cast<int>(std::fmod(frame.timeMs, 60000.0)) : -1);
    line_.send(scratch_, frame.timeMs);
}

void VirtualCanUsb::advanceTo(double ms)
{
    const auto& frames = busFramesUntil(ms);
    // Merge the control unit's replies into the bus traffic by time.
    std::sort(ecuFrames_.begin(), ecuFrames_.end(), [](const CanFrame& a, const CanFrame& b) { return a.timeMs < b.timeMs; });
    std::size_t e = 0;
    for (const auto& f : frames) {
        while (e < ecuFrames_.size() && ecuFrames_[e].timeMs <= f.timeMs) passOn(ecuFrames_[e++]);
        passOn(f);
    }
    while (e < ecuFrames_.size() && ecuFrames_[e].timeMs <= ms) passOn(ecuFrames_[e++]);
    ecuFrames_.erase(ecuFrames_.begin(), ecuFrames_.begin() + static_cast<std::ptrdiff_t>(e));
}

void VirtualCanUsb::receive(std::string_view text, double ms)
{
    advanceTo(ms);
    for (char c : text) {
        if (c == '\r') {
            std::string command;
            command.swap(input_);
            if (overflow_) line_.send("\a", ms);
            else execute(command, ms);
            overflow_ = false;
        } else if (input_.size() == kInputBuffer) {
            overflow_ = true;
        } else {
            input_.push_back(c);
        }
    }
}

void VirtualCanUsb::execute(const std::string& cmd, double ms)
{
    auto answer = [&](std::string_view text) { line_.send(text, ms); };
    if (cmd.empty()) return answer(kError);
    const char op = cmd[0];
    const std::string_view arg = std::string_view(cmd).substr(1);
    switch (op) {
    case 'V': return answer(cmd.size() == 1 ? "V1011\r" : kError);
    case 'N': return answer(cmd.size() == 1 ? "NA123\r" : kError);
    case 'S':
        if (open_ || arg.size() != 1 || arg[0] < '0' || arg[0] > '8') return answer(kError);
        bitRate_ = arg[0] - '0';
        return answer(kOk);
    case 'Z':
    case 'X':
        if (arg != "0" && arg != "1") return answer(kError);
        (op == 'Z' ? timestamps_ : autoPoll_) = arg == "1";
        return answer(kOk);
    case 'O':
        if (open_ || bitRate_ < 0 || !arg.empty()) return answer(kError);
        open_ = true;
        flags_ = 0;
        return answer(kOk);
    case 'C':
        if (!open_ || !arg.empty()) return answer(kError);
        open_ = false;
        queue_.clear();
        return answer(kOk);
    case 'F': {
        if (!open_) return answer(kError);
        std::string r = "F";
        hex::appendByte(r, flags_);
        r += '\r';
        flags_ = 0;
        return answer(r);
    }
    case 't': {
        auto transmitted = parseLawicelTransmit(cmd);
        if (!open_ || !transmitted) return answer(kError);
        answer(autoPoll_ ? "z\r" : kOk);
        // The frame reaches the bus after its own bit time.
        double onBus = ms + frameDurationMs(transmitted->length);
        ecu_.onFrame(CanFrame{*transmitted, 0.0}, onBus, bus().car(), ecuFrames_);
        return;
    }
    case 'P':
    case 'A': {
        if (!open_ || autoPoll_) return answer(kError);
        std::string r;
        do {
            if (queue_.empty()) break;
            appendLawicelFrame(r, queue_.front(), timestamps_ ? static_cast<int>(std::fmod(queue_.front().timeMs, 60000.0)) : -1);
            queue_.pop_front();
        } while (op == 'A');
        r += op == 'A' ? "A\r" : (r.empty() ? "\r" : "");
        return answer(r);
    }
    default:
        return answer(kError);
    }
}

} // namespace vcm::sim
