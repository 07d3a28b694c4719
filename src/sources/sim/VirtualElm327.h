#pragma once
// A simulated ELM327 v1.5 interpreter, as its datasheet describes it:
// - commands end with CR; case, spaces and control characters are ignored; a lone CR
//   repeats the last command;
// - every reply ends with an empty line and the prompt: "OK\r\r>" (line feeds off),
//   "OK\r\n\r\n>" (ATL1); what it does not understand gets "?\r\r>";
// - echo (ATE1, the default) sends each received character back as it arrives;
// - ATZ resets every setting and prints "\r\rELM327 v1.5\r\r>" after about 0.8 s;
// - ATMA prints every bus frame (format in canformat/AdapterText.h) until any character arrives:
//   that character is discarded, the line in progress is finished, then
//   "STOPPED\r\r>" follows;
// - its 512-byte transmit buffer holds the text that the serial line has not sent
//   yet; when a frame's line does not fit, "BUFFER FULL" is printed and monitoring
//   stops (at 38400 bit/s a busy bus does that within milliseconds; at 500000 bit/s
//   the line keeps up).
// Defaults after power-on or ATZ: echo on, line feeds off, headers off, spaces on,
// automatic formatting on, protocol 0 (automatic).
#include "link/canformat/AdapterText.h"
#include "sources/sim/VirtualAdapter.h"

namespace vcm::sim {

class VirtualElm327 final : public VirtualAdapter {
public:
    static constexpr std::size_t kTransmitBuffer = 512;
    static constexpr double kResetMs = 800;
    static constexpr std::size_t kInputBuffer = 128; // longer commands are not understood
    static constexpr const char* kBanner = "ELM327 v1.5";

    explicit VirtualElm327(std::unique_ptr<FrameSource> bus);

    void receive(std::string_view text, double ms) override;
    void advanceTo(double ms) override;
    std::string name() const override { return "simulated ELM327"; }

    bool monitoring() const { return monitoring_; }
    int bufferFullCount() const { return bufferFullCount_; }

private:
    void resetSettings();
    void execute(const std::string& command, double ms);
    std::string executeAt(const std::string& at, double ms); // reply text, "" when none
    void reply(std::string_view text, double ms);             // lines + empty line + prompt
    void prompt(double ms);
    std::string eol() const { return format_.lineFeeds ? "\r\n" : "\r"; }

    ElmFormat format_;
    bool echo_ = true;
    int protocol_ = 0;
    bool monitoring_ = false;
    double busyUntilMs_ = 0; // a reset in progress ignores input
    std::string input_;
    bool overflow_ = false; // the command outgrew the input buffer
    std::string lastCommand_;
    std::string scratch_;
    int bufferFullCount_ = 0;
};

} // namespace vcm::sim
