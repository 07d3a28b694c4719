#pragma once
// One adapter line split into an identifier and its data bytes. Each adapter form has
// one reader here; the decoder cuts the text into lines and hands each line (without
// its terminator) to the reader of the configured adapter.
//
// ELM327 monitor line (ATH1, spaces on, ATCAF0), terminator CR LF removed:
//     "3CA 00 1A 00 2C 00"  -> id 0x3CA, count 5, bytes 00 1A 00 2C 00
//     "3CA 00 1A "          -> id 0x3CA, count 3, byte 3 invalid (empty token)
//     ">3CA 00 1A 00 2C 00" -> as without the ">" (the prompt ends the line before)
//     "3C8 00 00 32 <RX ERROR", anything with "<" -> not a frame (damaged on the bus)
// The header token must be hexadecimal and its first three characters too; each data
// token counts in the byte count, but only one or two hexadecimal digits make a valid byte.
//
// CANUSB (Lawicel) frame line, terminator CR removed:
//     "t3CA5001A002C00"     -> id 0x3CA, count 5, bytes 00 1A 00 2C 00
// "t", three hex digits of identifier, one length digit d (1 to 8), then exactly 2 x d hex
// digits; at least seven characters after the "t", so one-byte frames (which no handler
// reads) are not taken. A leading BEL (the adapter's error reply, which has no CR of its own) is skipped.
// Anything else - "z" acknowledgements, extended "T" frames, timestamps - is not a frame.
#include <array>
#include <cstdint>
#include <string_view>

namespace vcm {

struct FrameLine {
    static constexpr std::int16_t kInvalid = -1;

    std::uint32_t id = 0;
    int count = 0;                            // data tokens received (may exceed 8 on the ELM327)
    std::array<std::int16_t, 9> byte{};       // 1..8: value 0..255, or kInvalid

    // Byte k (1-based) as the handlers see it: kInvalid when missing or not hexadecimal.
    std::int16_t at(int k) const { return k >= 1 && k <= 8 && k <= count ? byte[static_cast<std::size_t>(k)] : kInvalid; }
    bool valid(int k) const { return at(k) != kInvalid; }
};

// Both return false (and leave `out` unspecified) when the line is not a frame.
bool readElm327Line(std::string_view line, FrameLine& out);
bool readCanUsbLine(std::string_view line, FrameLine& out);

} // namespace vcm
