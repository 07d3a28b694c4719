#pragma once
// DecodeFrames: turns the text an adapter sends into updates of VehicleState.
// Two text forms, chosen by MonitorSettings::UseElm327 (AdapterLine.h cuts and reads the lines):
//   ELM327 monitor lines (ATH1 ATL1 ATCAF0), CR LF terminated, space separated:
//       "3CA 00 00 00 00 00\r\n"  -> identifier 0x3CA, 5 data bytes
//   CANUSB (Lawicel) frame lines, CR terminated:
//       "t3CA50000000000\r"      -> identifier 0x3CA, length 5, bytes 00 00 00 00 00
// A frame is decoded as soon as its terminator arrives; CANUSB text is cut at every CR (and BEL),
// so adapter replies between frames ("z" acknowledgements, a lone CR) are lines of their
// own and are ignored. Text that does not yet end a line waits for the next call, at most
// kMaxPendingText characters of it (older text is dropped: no line is that long, so
// such text is noise or a wrong baud rate).
//
// An identifier keeps its length on the bus. An ELM327 line with fewer bytes than that
// identifier has already shown (the longest line seen for it) was cut short by the
// adapter and is not decoded: "3C8 00 00 FF" after "3C8 00 00 32 00 00" would otherwise
// read byte 3 of a broken line as 8160 rpm. The CANUSB line carries its own length digit
// and is refused when its bytes do not match it, so it needs no such check.
//
// Values that do not fit their 16-bit field (0B4 speed bytes 6-7 or 03B voltage bytes 3-4
// with a high byte of 0x80 or more, a 3CB state of charge above 32767 tenths) are not
// stored: the field keeps its last value and the rest of the frame is handled as usual.
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/DecoderSink.h"
#include "decode/DiagReply.h"
#include "decode/AdapterLine.h"
#include "decode/VehicleState.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vcm {

class FrameDecoder {
public:
    static constexpr std::size_t kMaxPendingText = AdapterLineSplitter::kMaxPending;

    FrameDecoder(VehicleState& state, const MonitorSettings& settings, const Clock& clock, DecoderSink& sink,
                 char decimalSeparator = '.');

    // Appends received text to the pending text and decodes every complete line.
    void decodeFrames(std::string_view receivedText);
    const std::string& pendingText() const { return lines_.pending(); }

    // Counts since construction: lines accepted as frames, and non-empty lines that were not.
    std::uint64_t framesDecoded() const { return framesDecoded_; }
    std::uint64_t linesIgnored() const { return linesIgnored_; }
    // Frames accepted with an 11-bit identifier id (0 for larger identifiers).
    std::uint32_t framesOf(std::uint32_t id) const { return id < framesById_.size() ? framesById_[id] : 0; }

private:
    void decodeLine(std::string_view line);
    void dispatch(const FrameLine& f);
    // True for an ELM327 line shorter than its identifier's longest so far.
    bool isCutShort(const FrameLine& f);

    void onSteering(const FrameLine& f);        // 025
    void onBrake(const FrameLine& f);           // 030
    void onFuelRate(const FrameLine& f);        // 038
    void onTorqueAndTemp(const FrameLine& f);   // 039
    void onMg1Voltage(const FrameLine& f);      // 03A
    void onBattery(const FrameLine& f);         // 03B
    void onSpeed(const FrameLine& f);           // 0B4
    void onAccelerator(const FrameLine& f);     // 244
    void onPid348(const FrameLine& f);          // 348
    void onEngineSpeed(const FrameLine& f);     // 3C8
    void onIntegrationClock();                  // 3CA
    void onBatteryLimits(const FrameLine& f);   // 3CB
    void onDriveTemps(const FrameLine& f);      // 3CF
    void onInjector(const FrameLine& f);        // 520
    void onValveTiming(const FrameLine& f);     // 526
    void onEvMode(const FrameLine& f);          // 529
    void onCoolant(const FrameLine& f);         // 52C
    void onShiftLever(const FrameLine& f);      // 540
    void onTankLevel(const FrameLine& f);       // 5A4
    void onMg2Temp(const FrameLine& f);         // 5EC

    void fuelStep(bool accumulate);
    void consumptionUpdate(bool clearsEvMode);
    void distanceStep();

    // Caption writers: format and write only when the shown value changed.
    bool captionChanged(DecoderLabel label, double shown);
    void captionOneDecimal(DecoderLabel label, double value);
    void captionWhole(DecoderLabel label, int value);
    void captionGeneral(DecoderLabel label, double value);

    VehicleState& state_;
    const MonitorSettings& settings_;
    const Clock& clock_;
    DecoderSink& sink_;
    char decimalSeparator_;
    AdapterLineSplitter lines_;

    std::int32_t steeringReference_ = 0; // 025 bytes 3-4, kept for one call
    DiagReplyAssembler diag_;
    std::array<double, kDecoderLabelCount> shownCaption_{};
    std::array<bool, kDecoderLabelCount> captionKnown_{};
    std::string captionText_;

    std::uint64_t framesDecoded_ = 0;
    std::uint64_t linesIgnored_ = 0;
    std::array<std::uint32_t, 0x800> framesById_{};
    std::array<std::uint8_t, 0x800> longestElmLine_{};
};

} // namespace vcm
