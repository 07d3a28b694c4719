#include "sources/replay/LiveCandump.h"

#include "link/canformat/CandumpLog.h"

namespace vcm {

void CandumpFeed::take(std::string_view bytes, std::string& out)
{
    while (!bytes.empty()) {
        const auto nl = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, nl);
        if (nl == std::string_view::npos) {
            if (!discarding_)
                partial_.append(piece);
            if (partial_.size() > kMaxLine) {
                partial_.clear();
                discarding_ = true;
                ++skipped_;
            }
            return;
        }
        if (discarding_) {
            discarding_ = false;
        } else if (partial_.empty()) {
            takeLine(piece, out);
        } else {
            partial_.append(piece);
            takeLine(partial_, out);
            partial_.clear();
        }
        bytes.remove_prefix(nl + 1);
    }
}

void CandumpFeed::finish(std::string& out)
{
    if (!partial_.empty() && !discarding_)
        takeLine(partial_, out);
    partial_.clear();
    discarding_ = false;
}

void CandumpFeed::takeLine(std::string_view line, std::string& out)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const CandumpLine parsed = parseCandumpLine(line);
    switch (parsed.kind) {
    case CandumpLine::Kind::Frame:
        appendAdapterLine(out, parsed.frame, form_);
        ++frames_;
        break;
    case CandumpLine::Kind::Malformed:
        ++skipped_;
        break;
    case CandumpLine::Kind::Skipped:
    case CandumpLine::Kind::Blank:
        break;
    }
}

std::string liveCandumpDeviceName(const std::string& path, bool elm327)
{
    return std::string("candump:") + (elm327 ? "elm327:" : "canusb:") + path;
}

std::optional<LiveCandumpDevice> parseLiveCandumpDevice(std::string_view device)
{
    constexpr std::string_view prefix = "candump:";
    if (device.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    device.remove_prefix(prefix.size());
    for (auto [name, form] : {std::pair{std::string_view("elm327:"), AdapterForm::Elm327},
                              std::pair{std::string_view("canusb:"), AdapterForm::CanUsb}})
        if (device.substr(0, name.size()) == name && device.size() > name.size())
            return LiveCandumpDevice{form, std::string(device.substr(name.size()))};
    return std::nullopt;
}

} // namespace vcm
