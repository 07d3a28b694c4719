#pragma once
// DecodeFrames: turns the text an adapter sends into updates of VehicleState.
// Two text forms, chosen by MonitorSettings::UseElm327:
//   ELM327 monitor lines (ATH1 ATL1 ATCAF0), CR LF terminated, space separated:
//       "3CA 00 00 00 00 00\r\n"  -> identifier 0x3CA, 5 data bytes
//   CANUSB (Lawicel) frame lines, CR terminated:
//       "t3CA50000000000\r"      -> identifier 0x3CA, length 5, bytes 00 00 00 00 00
// Text that does not yet end a line waits in the decoder for the next call.
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/DecoderSink.h"
#include "decode/VehicleState.h"

#include <string>
#include <string_view>

namespace vcm {

class FrameDecoder {
public:
    FrameDecoder(VehicleState& state, const MonitorSettings& settings, const Clock& clock, DecoderSink& sink,
                 char decimalSeparator = '.');

    // Appends received text to the pending text and decodes every complete line.
    void decodeFrames(std::string_view receivedText);
    const std::string& pendingText() const { return pending_; }
    void clearPending() { pending_.clear(); }

private:
    VehicleState& state_;
    const MonitorSettings& settings_;
    const Clock& clock_;
    DecoderSink& sink_;
    char decimalSeparator_;
    std::string pending_;
};

} // namespace vcm
