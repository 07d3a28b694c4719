#pragma once
// The text the two bus adapters send: cut into lines, and one line read as a frame.
// The live decoder, the decode report and the replay's exports all read adapter text
// through here.
//
// Lines. ELM327 lines end in CR LF (a lone CR is part of the line). CANUSB (Lawicel)
// lines end in CR, or in BEL: the adapter answers a command it refuses with a lone BEL
// and no CR, so the BEL ends that reply and the next frame starts a line of its own:
//     "\at3CA5001A002C00\r"  -> "" (the refusal), "t3CA5001A002C00"
//     "z\rt3CA5001A002C00\r" -> "z" (an acknowledgement), "t3CA5001A002C00"
//
// Reading a line, as the decoder does (handlers check each byte they need):
//   ELM327 monitor line (ATH1, spaces on, ATCAF0):
//     "3CA 00 1A 00 2C 00"  -> id 0x3CA, count 5, bytes 00 1A 00 2C 00
//     "3CA 00 1A "          -> id 0x3CA, count 3, byte 3 invalid (empty token)
//     ">3CA 00 1A 00 2C 00" -> as without the ">" (the prompt ends the line before)
//     "3C8 00 00 32 <RX ERROR", anything with "<" -> not a frame (damaged on the bus)
//   The header token must be hexadecimal and its first three characters too; each data
//   token counts in the byte count, but only one or two hexadecimal digits make a valid byte.
//   CANUSB frame line:
//     "t3CA5001A002C00"     -> id 0x3CA, count 5, bytes 00 1A 00 2C 00
//   "t", three hex digits of identifier, one length digit d (1 to 8), then exactly 2 x d hex
//   digits; at least seven characters after the "t", so one-byte frames (which no handler
//   reads) are not taken. Anything else - "z" acknowledgements, extended "T" frames, time
//   stamps - is not a frame.
//
// Reading a line as a whole frame (exports, which copy frames and must not invent bytes):
//   ELM327: three-digit identifier up to 7FF and 0 to 8 tokens of two digits, nothing
//     else: "3CA 00 1A" yes; "3CA 00 1A ", "3CA 0 1A", ">3CA 00", "18DAF110 00" no.
//   CANUSB: "t", identifier up to 7FF, length 0 to 8, its bytes, and optionally the
//     four-digit millisecond time stamp of Z1 mode: "t3CA2001A", "t3CA2001A1F2C".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vcm {

// The two text forms the adapters send.
enum class AdapterForm { Elm327, CanUsb };

struct FrameLine {
    static constexpr std::int16_t kInvalid = -1;

    std::uint32_t id = 0;
    int count = 0;                            // data tokens received (may exceed 8 on the ELM327)
    std::array<std::int16_t, 9> byte{};       // 1..8: value 0..255, or kInvalid

    // Byte k (1-based) as the handlers see it: kInvalid when missing or not hexadecimal.
    std::int16_t at(int k) const { return k >= 1 && k <= 8 && k <= count ? byte[static_cast<std::size_t>(k)] : kInvalid; }
    bool valid(int k) const { return at(k) != kInvalid; }
};

// All return false (and leave `out` unspecified) when the line is not a frame. The line
// comes without its terminator.
bool readElm327Line(std::string_view line, FrameLine& out);
bool readCanUsbLine(std::string_view line, FrameLine& out);
inline bool readFrameLine(std::string_view line, AdapterForm form, FrameLine& out)
{
    return form == AdapterForm::Elm327 ? readElm327Line(line, out) : readCanUsbLine(line, out);
}
bool readWholeFrame(std::string_view line, AdapterForm form, FrameLine& out);
// A CANUSB transmit command "tIIILDD.." (without its CR): the frame line's rules, no time stamp.
bool readCanUsbTransmit(std::string_view command, FrameLine& out);

// Cuts received text into lines as it arrives. Text after the last line end waits for
// the next call, at most kMaxPending characters of it (older text is dropped: no line is
// that long, so such text is noise or a wrong baud rate).
class AdapterLineSplitter {
public:
    static constexpr std::size_t kMaxPending = 4096;

    AdapterLineSplitter() { pending_.reserve(kMaxPending); }

    // Calls onLine(line) for every line that ends in text, without its terminator (also
    // for empty lines). The form may change from one call to the next.
    template <typename OnLine>
    void feed(std::string_view text, AdapterForm form, OnLine&& onLine);

    const std::string& pending() const { return pending_; }
    void clear() { pending_.clear(); }

    // Calls onLine for every complete line of text; returns what follows the last line end.
    template <typename OnLine>
    static std::string_view forEachLine(std::string_view text, AdapterForm form, OnLine&& onLine);

private:
    static std::size_t endOfFirstLine(std::string_view text, AdapterForm form, bool afterCr);
    void keepNewest(std::string_view text, bool append);

    std::string pending_;
};

template <typename OnLine>
void AdapterLineSplitter::feed(std::string_view text, AdapterForm form, OnLine&& onLine)
{
    if (!pending_.empty()) {
        // Complete the waiting line with the start of the new text.
        const std::size_t end = endOfFirstLine(text, form, pending_.back() == '\r');
        if (end == std::string_view::npos) {
            keepNewest(text, true);
            return;
        }
        pending_.append(text.substr(0, end));
        forEachLine(pending_, form, onLine); // ends with a line end: consumes it all
        pending_.clear();
        text.remove_prefix(end);
    }
    keepNewest(forEachLine(text, form, onLine), false);
}

template <typename OnLine>
std::string_view AdapterLineSplitter::forEachLine(std::string_view text, AdapterForm form, OnLine&& onLine)
{
    std::size_t p = 0;
    if (form == AdapterForm::Elm327) {
        std::size_t from = 0;
        while (true) {
            const std::size_t cr = text.find('\r', from);
            if (cr == std::string_view::npos || cr + 1 >= text.size()) break;
            if (text[cr + 1] != '\n') { from = cr + 1; continue; }
            onLine(text.substr(p, cr - p));
            p = from = cr + 2;
        }
    } else {
        // Cut at each CR, then at the BELs inside; BELs are rare, so one search of the
        // whole text saves looking for them line by line.
        const bool bells = text.find('\a') != std::string_view::npos;
        auto cutAtBells = [&](std::size_t end) {
            for (std::size_t bel; (bel = text.substr(0, end).find('\a', p)) != std::string_view::npos; p = bel + 1)
                onLine(text.substr(p, bel - p));
        };
        for (std::size_t cr; (cr = text.find('\r', p)) != std::string_view::npos; p = cr + 1) {
            if (bells) cutAtBells(cr);
            onLine(text.substr(p, cr - p));
        }
        if (bells) cutAtBells(text.size());
    }
    return text.substr(p);
}

} // namespace vcm
