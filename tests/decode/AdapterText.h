#pragma once
// Builds the text each adapter sends for one frame, from "ID b1 b2 ..." (hex, spaces):
//   elm327("3CA 00 1A")  -> "3CA 00 1A\r\n"
//   canusb("3CA 00 1A")  -> "t3CA2001A\r"
#include <string>
#include <string_view>

namespace vcm::test {

inline std::string elm327(std::string_view frame) { return std::string(frame) + "\r\n"; }

inline std::string canusb(std::string_view frame)
{
    std::string id(frame.substr(0, 3)), data;
    for (char c : frame.substr(3))
        if (c != ' ') data += c;
    return "t" + id + std::to_string(data.size() / 2) + data + "\r";
}

inline std::string adapterText(bool useElm327, std::string_view frame) { return useElm327 ? elm327(frame) : canusb(frame); }

} // namespace vcm::test
