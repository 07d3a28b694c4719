#include "sources/sim/VirtualElm327.h"

#include "common/Hex.h"

#include <cctype>

namespace vcm::sim {

namespace {

bool isHexText(std::string_view s)
{
    for (char c : s)
        if (hex::value(c) < 0) return false;
    return !s.empty();
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Commands that only set an option this simulation does not need to act on.
constexpr std::string_view kAcceptedOptions[] = {"M0", "M1", "AL", "NL", "AR", "CFC0", "CFC1", "CSM0", "CSM1",
                                                 "V0", "V1", "R0", "R1", "AT0", "AT1", "AT2", "KW0", "KW1"};

std::string_view protocolName(int p)
{
    switch (p) {
    case 0: return "AUTO";
    case 6: return "ISO 15765-4 (CAN 11/500)";
    case 7: return "ISO 15765-4 (CAN 29/500)";
    case 8: return "ISO 15765-4 (CAN 11/250)";
    case 9: return "ISO 15765-4 (CAN 29/250)";
    default: return "SAE J1850 PWM";
    }
}

} // namespace

VirtualElm327::VirtualElm327(std::unique_ptr<FrameSource> bus) : VirtualAdapter(std::move(bus)) { resetSettings(); }

void VirtualElm327::resetSettings()
{
    format_ = ElmFormat{};
    format_.headers = false;
    format_.spaces = true;
    format_.lineFeeds = false;
    format_.showLength = false;
    format_.autoFormat = true;
    echo_ = true;
    protocol_ = 0;
    monitoring_ = false;
    input_.clear();
    overflow_ = false;
}

void VirtualElm327::advanceTo(double ms)
{
    const auto& frames = busFramesUntil(ms);
    if (!monitoring_) return;
    for (const auto& f : frames) {
        scratch_.clear();
        appendElmMonitorLine(scratch_, f, format_);
        if (line_.backlogAt(f.timeMs) + scratch_.size() > kTransmitBuffer) {
            // The host cannot take the text as fast as the bus brings it.
            ++bufferFullCount_;
            monitoring_ = false;
            reply("BUFFER FULL", f.timeMs);
            return;
        }
        line_.send(scratch_, f.timeMs);
    }
}

void VirtualElm327::receive(std::string_view text, double ms)
{
    advanceTo(ms);
    for (char c : text) {
        if (monitoring_) {
            // Any character stops monitoring and is itself discarded.
            monitoring_ = false;
            reply("STOPPED", ms);
            continue;
        }
        if (ms < busyUntilMs_) continue; // resetting: input is lost
        if (echo_) line_.send(c == '\r' ? eol() : std::string(1, c), ms);
        if (c == '\r') {
            std::string command;
            command.swap(input_);
            if (overflow_) reply("?", ms);
            else execute(command, ms);
            overflow_ = false;
        } else if (input_.size() == kInputBuffer) {
            overflow_ = true;
        } else if (static_cast<unsigned char>(c) > ' ') {
            input_.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
}

void VirtualElm327::reply(std::string_view text, double ms)
{
    std::string out(text);
    out += eol();
    out += eol();
    out += '>';
    line_.send(out, ms);
}

void VirtualElm327::prompt(double ms) { line_.send(">", ms); }

void VirtualElm327::execute(const std::string& command, double ms)
{
    std::string cmd = command.empty() ? lastCommand_ : command;
    if (cmd.empty()) {
        prompt(ms);
        return;
    }
    lastCommand_ = cmd;
    if (startsWith(cmd, "AT")) {
        std::string r = executeAt(cmd.substr(2), ms);
        if (!r.empty()) reply(r, ms);
    } else if (isHexText(cmd) && cmd.size() % 2 == 0) {
        reply("NO DATA", ms); // no control unit answers OBD requests in this car
    } else {
        reply("?", ms);
    }
}

std::string VirtualElm327::executeAt(const std::string& at, double ms)
{
    auto flag = [&](std::string_view name, bool& option) -> bool {
        if (at == std::string(name) + "0") option = false;
        else if (at == std::string(name) + "1") option = true;
        else return false;
        return true;
    };
    if (at == "Z" || at == "WS") {
        // Reset: the banner follows after the start-up time (at once for a warm start).
        resetSettings();
        double readyAt = at == "Z" ? ms + kResetMs : ms;
        busyUntilMs_ = readyAt;
        line_.send(eol() + eol(), readyAt);
        reply(kBanner, readyAt);
        return {};
    }
    if (at == "D") {
        bool echo = echo_;
        bool feeds = format_.lineFeeds;
        resetSettings();
        echo_ = echo;
        format_.lineFeeds = feeds;
        return "OK";
    }
    if (at == "I") return kBanner;
    if (at == "@1") return "OBDII to RS232 Interpreter";
    if (at == "DP") return std::string(protocolName(protocol_));
    if (at == "DPN") return std::string(1, "0123456789ABC"[protocol_]);
    if (at == "RV") return "14.1V";
    if (at == "MA") {
        monitoring_ = true;
        if (protocol_ == 0) protocol_ = 6; // the automatic search finds the car's bus
        return {};
    }
    if (flag("E", echo_) || flag("L", format_.lineFeeds) || flag("H", format_.headers) || flag("S", format_.spaces) ||
        flag("D", format_.showLength) || flag("CAF", format_.autoFormat))
        return "OK";
    for (auto option : kAcceptedOptions)
        if (at == option) return "OK";
    for (std::string_view prefix : {"SPA", "TPA", "SP", "TP"}) {
        if (startsWith(at, prefix) && at.size() == prefix.size() + 1) {
            int p = hex::value(at.back());
            if (p < 0 || p > 0xC) return "?";
            protocol_ = p;
            return "OK";
        }
    }
    if ((startsWith(at, "ST") && at.size() == 4 && isHexText(at.substr(2))) ||
        (startsWith(at, "SH") && (at.size() == 5 || at.size() == 8) && isHexText(at.substr(2))))
        return "OK";
    return "?";
}

} // namespace vcm::sim
