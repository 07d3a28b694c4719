#include "link/replay/AdapterText.h"

#include "link/replay/Hex.h"

namespace vcm {

void appendAdapterLine(std::string& out, const CanFrame& frame, AdapterForm form)
{
    if (form == AdapterForm::Elm327) {
        hex::appendId(out, frame.id);
        for (int i = 0; i < frame.length; ++i) {
            out.push_back(' ');
            hex::appendByte(out, frame.data[static_cast<std::size_t>(i)]);
        }
        out += "\r\n";
        return;
    }
    out.push_back('t');
    hex::appendId(out, frame.id);
    out.push_back(hex::kDigits[frame.length & 15]);
    for (int i = 0; i < frame.length; ++i)
        hex::appendByte(out, frame.data[static_cast<std::size_t>(i)]);
    out.push_back('\r');
}

namespace {

std::optional<CanFrame> parseElmLine(std::string_view line)
{
    // "3CA 00 A1 00": identifier, then byte tokens each preceded by one space.
    if (line.size() < 3 || (line.size() - 3) % 3 != 0)
        return std::nullopt;
    const long long id = hex::number(line.substr(0, 3));
    if (id < 0 || id > 0x7FF)
        return std::nullopt;
    CanFrame f;
    f.id = static_cast<std::uint16_t>(id);
    const std::size_t count = (line.size() - 3) / 3;
    if (count > 8)
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 3 + i * 3;
        const long long b = line[at] == ' ' ? hex::number(line.substr(at + 1, 2)) : -1;
        if (b < 0)
            return std::nullopt;
        f.data[i] = static_cast<std::uint8_t>(b);
    }
    f.length = static_cast<std::uint8_t>(count);
    return f;
}

std::optional<CanFrame> parseCanUsbLine(std::string_view line)
{
    // "t3CA200A1" or with the Z1 time stamp "t3CA200A11F2C".
    if (line.size() < 5 || line[0] != 't')
        return std::nullopt;
    const long long id = hex::number(line.substr(1, 3));
    const int length = hex::value(line[4]);
    if (id < 0 || id > 0x7FF || length < 0 || length > 8)
        return std::nullopt;
    const std::size_t plain = 5 + 2 * static_cast<std::size_t>(length);
    if (line.size() != plain && line.size() != plain + 4)
        return std::nullopt;
    if (line.size() == plain + 4 && hex::number(line.substr(plain)) < 0)
        return std::nullopt;
    CanFrame f;
    f.id = static_cast<std::uint16_t>(id);
    f.length = static_cast<std::uint8_t>(length);
    for (std::size_t i = 0; i < static_cast<std::size_t>(length); ++i) {
        const long long b = hex::number(line.substr(5 + 2 * i, 2));
        if (b < 0)
            return std::nullopt;
        f.data[i] = static_cast<std::uint8_t>(b);
    }
    return f;
}

} // namespace

std::optional<CanFrame> parseAdapterLine(std::string_view line, AdapterForm form)
{
    return form == AdapterForm::Elm327 ? parseElmLine(line) : parseCanUsbLine(line);
}

} // namespace vcm
