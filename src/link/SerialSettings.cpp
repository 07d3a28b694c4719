#include "link/SerialSettings.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string_view>

namespace vcm {
namespace {

std::optional<int> wholeNumber(std::string_view s)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

} // namespace

std::optional<SerialSettings> parseSerialSettings(std::string_view text)
{
    std::array<std::string_view, 4> fields;
    std::size_t count = 0;
    while (count < fields.size()) {
        const auto comma = text.find(',');
        fields[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos) {
            text = {};
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (count != fields.size() || !text.empty())
        return std::nullopt;

    SerialSettings s;
    const auto baud = wholeNumber(fields[0]);
    const auto data = wholeNumber(fields[2]);
    const auto stop = wholeNumber(fields[3]);
    if (!baud || *baud <= 0 || !data || *data < 5 || *data > 8 || !stop || (*stop != 1 && *stop != 2))
        return std::nullopt;
    if (fields[1].size() != 1)
        return std::nullopt;
    const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
    if (std::string_view("NEOMS").find(parity) == std::string_view::npos)
        return std::nullopt;
    s.baud = *baud;
    s.parity = parity;
    s.dataBits = *data;
    s.stopBits = *stop;
    return s;
}

} // namespace vcm
