#include "link/canformat/AdapterText.h"

#include "common/Hex.h"

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

std::optional<CanFrame> toCanFrame(const FrameLine& line)
{
    CanFrame f;
    f.id = static_cast<std::uint16_t>(line.id);
    f.length = static_cast<std::uint8_t>(line.count);
    for (int k = 1; k <= line.count; ++k)
        f.data[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>(line.at(k));
    return f;
}

} // namespace

std::optional<CanFrame> parseAdapterLine(std::string_view line, AdapterForm form)
{
    FrameLine f;
    return readWholeFrame(line, form, f) ? toCanFrame(f) : std::nullopt;
}

std::optional<CanFrame> parseLawicelTransmit(std::string_view command)
{
    FrameLine f;
    return readCanUsbTransmit(command, f) ? toCanFrame(f) : std::nullopt;
}

} // namespace vcm
