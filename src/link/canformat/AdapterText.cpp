#include "link/canformat/AdapterText.h"

#include "link/canformat/Hex.h"

namespace vcm {

void appendElmMonitorLine(std::string& out, const CanFrame& frame, const ElmFormat& format)
{
    std::size_t first = 0;
    std::size_t count = frame.length;
    if (format.autoFormat && frame.length > 1 && frame.data[0] >= 1 && frame.data[0] < frame.length) {
        first = 1;
        count = frame.data[0];
    }
    bool needSeparator = false;
    auto separate = [&] {
        if (needSeparator && format.spaces)
            out.push_back(' ');
        needSeparator = true;
    };
    if (format.headers) {
        separate();
        hex::appendId(out, frame.id);
    }
    if (format.showLength) {
        separate();
        out.push_back(hex::kDigits[frame.length & 15]);
    }
    for (std::size_t k = first; k < first + count; ++k) {
        separate();
        hex::appendByte(out, frame.data[k]);
    }
    out.push_back('\r');
    if (format.lineFeeds)
        out.push_back('\n');
}

void appendLawicelFrame(std::string& out, const CanFrame& frame, int timestampMs)
{
    out.push_back('t');
    hex::appendId(out, frame.id);
    out.push_back(hex::kDigits[frame.length & 15]);
    for (int i = 0; i < frame.length; ++i)
        hex::appendByte(out, frame.data[static_cast<std::size_t>(i)]);
    if (timestampMs >= 0) {
        hex::appendByte(out, static_cast<unsigned>(timestampMs) >> 8);
        hex::appendByte(out, static_cast<unsigned>(timestampMs) & 0xFF);
    }
    out.push_back('\r');
}

void appendAdapterLine(std::string& out, const CanFrame& frame, AdapterForm form)
{
    if (form == AdapterForm::Elm327)
        appendElmMonitorLine(out, frame, ElmFormat{});
    else
        appendLawicelFrame(out, frame);
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

// "t3CA200A1", and with allowStamp also with the Z1 time stamp "t3CA200A11F2C".
std::optional<CanFrame> parseLawicelLine(std::string_view line, bool allowStamp)
{
    if (line.size() < 5 || line[0] != 't')
        return std::nullopt;
    const long long id = hex::number(line.substr(1, 3));
    const int length = hex::value(line[4]);
    if (id < 0 || id > 0x7FF || length < 0 || length > 8)
        return std::nullopt;
    const std::size_t plain = 5 + 2 * static_cast<std::size_t>(length);
    const bool stamped = allowStamp && line.size() == plain + 4;
    if (line.size() != plain && !stamped)
        return std::nullopt;
    if (stamped && hex::number(line.substr(plain)) < 0)
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
    return form == AdapterForm::Elm327 ? parseElmLine(line) : parseLawicelLine(line, true);
}

std::optional<CanFrame> parseLawicelTransmit(std::string_view command)
{
    return parseLawicelLine(command, false);
}

} // namespace vcm
