#include "decode/DiagReply.h"

#include <charconv>

namespace vcm {
namespace {

void appendDecimal(std::string& out, std::int16_t v)
{
    char buf[8];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

// Bytes first..last as decimal numbers, each preceded by ';' except the very first
// when leadingSeparator is false.
void writeBytes(std::string& out, const std::array<std::int16_t, 9>& b, int first, int last, bool leadingSeparator)
{
    out.clear();
    for (int k = first; k <= last; ++k) {
        if (k != first || leadingSeparator) out += ';';
        appendDecimal(out, b[static_cast<std::size_t>(k)]);
    }
}

template <std::size_t N>
void join(std::string& out, const std::array<std::string, N>& parts)
{
    out.clear();
    for (const auto& p : parts) out += p;
}

bool isFirstFrame(const std::array<std::int16_t, 9>& b, std::int16_t length, std::int16_t record)
{
    return b[1] == 0x10 && b[2] == length && b[3] == 0x61 && b[4] == record;
}

} // namespace

void DiagReplyAssembler::onFrame(VehicleState& state, const std::array<std::int16_t, 9>& b, int count)
{
    // A first frame is a full eight-byte frame.
    if (count == 8 && isFirstFrame(b, 0x27, 0xC3)) {
        writeBytes(state.C3Head, b, 5, 8, false);
        state.DiagReplyKind = "C3";
    }
    if (count == 8 && isFirstFrame(b, 0x11, 0xC4)) {
        writeBytes(state.C4Head, b, 5, 8, false);
        state.DiagReplyKind = "C4";
    }
    const int part = b[1] - 0x21; // consecutive frames 21..25
    if (part < 0 || part >= static_cast<int>(state.DiagPart.size())) return;
    const auto slot = static_cast<std::size_t>(part);
    writeBytes(state.DiagPart[slot], b, 2, 8, true);
    if (state.DiagReplyKind == "C3") {
        c3Parts_[slot] = state.DiagPart[slot];
        join(state.C3Body, c3Parts_);
    } else if (state.DiagReplyKind == "C4" && slot < c4Parts_.size()) {
        c4Parts_[slot] = state.DiagPart[slot];
        join(state.C4Body, c4Parts_);
    }
}

} // namespace vcm
