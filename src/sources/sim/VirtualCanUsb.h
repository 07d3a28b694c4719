#pragma once
// A simulated CANUSB adapter speaking the Lawicel ASCII protocol. Every command ends
// with CR; success is answered with CR (13), failure with BEL (7):
//   "V"   -> "V1011\r"        hardware and software version
//   "N"   -> "NA123\r"        serial number
//   "Sn"  -> "\r"             bit rate n (0..8; 6 = 500 kbit/s), channel closed only
//   "Zn"  -> "\r"             time stamps off/on
//   "Xn"  -> "\r"             auto-poll off/on (on: received frames are sent at once)
//   "O"   -> "\r"             open the channel (needs a bit rate, channel closed)
//   "C"   -> "\r"             close the channel (channel open)
//   "F"   -> "F00\r"          status flags (channel open), cleared by reading
//   "tIIILDD.." -> "z\r"      transmit a frame (channel open); "\r" with auto-poll off
//   "P"/"A"                   poll one / all waiting frames (auto-poll off)
// Received frames go to the host as "tIIILDD..\r" (canformat/AdapterText.h). An engine control
// unit behind it answers the diagnostic requests on 7E2 (DiagnosticEcu.h).
// Its receive queue holds 32 frames; frames that do not fit are lost and flagged.
#include "sources/sim/DiagnosticEcu.h"
#include "sources/sim/VirtualAdapter.h"

#include <deque>

namespace vcm::sim {

class VirtualCanUsb final : public VirtualAdapter {
public:
    static constexpr std::size_t kQueueFrames = 32;
    static constexpr std::size_t kInputBuffer = 64; // longer commands are errors

    explicit VirtualCanUsb(std::unique_ptr<FrameSource> bus);

    void receive(std::string_view text, double ms) override;
    void advanceTo(double ms) override;
    std::string name() const override { return "simulated CANUSB"; }

    bool channelOpen() const { return open_; }

private:
    void execute(const std::string& command, double ms);
    void passOn(const CanFrame& frame);

    DiagnosticEcu ecu_;
    std::vector<CanFrame> ecuFrames_; // replies waiting for their time on the bus
    std::deque<CanFrame> queue_;      // received frames waiting to be polled (auto-poll off)
    std::string input_;
    bool overflow_ = false; // the command outgrew the input buffer
    std::string scratch_;
    int bitRate_ = -1;
    bool open_ = false;
    bool timestamps_ = false;
    bool autoPoll_ = true;
    std::uint8_t flags_ = 0;
};

} // namespace vcm::sim
