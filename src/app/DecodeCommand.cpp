#include "app/DecodeCommand.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Format.h"
#include "config/MonitorSettings.h"
#include "decode/FrameDecoder.h"
#include "decode/AdapterLine.h"
#include "decode/VehicleState.h"
#include "sources/replay/RawLogSource.h"
#include "sources/replay/RecordingSource.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace vcm {
namespace {

constexpr double kIntegrationClockMs = 108; // period of 3CA on the car
constexpr std::size_t kMaxDecodedBytes = std::size_t(256) << 20; // a long drive's raw log is well below

// Keeps the last caption of each label and counts the display calls.
class LastCaptionSink final : public DecoderSink {
public:
    void setLabel(DecoderLabel label, std::string_view caption) override
    {
        captions[static_cast<std::size_t>(label)] = caption;
    }
    void showEngineGauge() override { ++displayCalls; }
    void showConsumption() override { ++displayCalls; }
    void showCurrentGauge() override { ++displayCalls; }
    void showAccelGauge() override { ++displayCalls; }
    void showTankLevel() override { ++displayCalls; }

    std::array<std::string, kDecoderLabelCount> captions;
    long displayCalls = 0;
};

// The report's caption column, in DecoderLabel order; part of its format.
constexpr std::string_view CaptionColumns[kDecoderLabelCount] = {"VolantValue", "LitrehValue", "TemperThValue",
    "vMg1Value", "VVtiValue", "MaxChrgValue", "MaxDchrgValue", "TempMg2Value"};

std::string fixed(double v, const char* pattern) { return formatNumber(v, pattern, '.'); }

class Table {
public:
    explicit Table(std::ostream& out) : out_(out) {}
    void row(std::string_view name, const std::string& value, std::string_view meaning = {})
    {
        out_ << "  " << name << std::string(name.size() < 22 ? 22 - name.size() : 1, ' ') << value;
        if (!meaning.empty()) out_ << std::string(value.size() < 14 ? 14 - value.size() : 1, ' ') << meaning;
        out_ << '\n';
    }

private:
    std::ostream& out_;
};

std::string num(double v) { return formatGeneral(v, '.'); }

void writeState(std::ostream& out, const VehicleState& v)
{
    Table t(out);
    out << "\nVehicle state\n";
    t.row("EngineRpm", num(v.EngineRpm), "rpm");
    t.row("SpeedKmh", num(v.SpeedKmh), "km/h");
    t.row("SpeedDisplay", num(v.SpeedDisplay), "km/h");
    t.row("Injector", num(v.Injector), "raw");
    t.row("EngineTorque", num(v.EngineTorque));
    t.row("EngineTempRaw", num(v.EngineTempRaw), "deg C");
    t.row("CoolantTemp", num(v.CoolantTemp), fixed(v.CoolantTemp / 10.0, "0.0") + " deg C");
    t.row("VvtiAngle", num(v.VvtiAngle), "deg");
    t.row("FuelRateLh", num(v.FuelRateLh), "l/h");
    t.row("Pid348Value", num(v.Pid348Value));
    t.row("SteeringAngle", num(v.SteeringAngle), fixed(v.SteeringAngle / 10.0, "0.0") + " deg");
    t.row("ShiftLever", v.ShiftLever.empty() ? "-" : v.ShiftLever);
    t.row("EvMode", v.EvMode ? "True" : "False");
    t.row("Mg1Voltage", num(v.Mg1Voltage), "V");
    t.row("BatteryCurrent", num(v.BatteryCurrent), fixed(v.BatteryCurrent / 10.0, "0.0") + " A (+ charging)");
    t.row("BatteryVoltage", num(v.BatteryVoltage), "V");
    t.row("StateOfCharge", num(v.StateOfCharge), fixed(v.StateOfCharge / 10.0, "0.0") + " %");
    t.row("BatteryTempA", num(v.BatteryTempA), "deg C");
    t.row("ExtTemp", num(v.ExtTemp), "deg C");
    t.row("MgTemp", num(v.MgTemp), "deg C");
    t.row("AccelPedal", num(v.AccelPedal), "raw");
    t.row("BrakePedal", num(v.BrakePedal), "raw");
    t.row("FuelTankLevel", num(v.FuelTankLevel));
    t.row("InstantConsumption", fixed(v.InstantConsumption, "0.00"), "l/100 km");
    t.row("FuelAccumulator", num(v.FuelAccumulator), fixed(v.FuelAccumulator / 1296000000.0, "0.000") + " ml");
    t.row("DistanceAccumulator", num(v.DistanceAccumulator), fixed(v.DistanceAccumulator / 3600.0, "0.00") + " m");

    out << "\nDiagnostic replies (CANUSB)\n";
    t.row("DiagReplyKind", v.DiagReplyKind.empty() ? "-" : v.DiagReplyKind);
    t.row("C3Head", v.C3Head.empty() ? "-" : v.C3Head);
    t.row("C3Body", v.C3Body.empty() ? "-" : v.C3Body);
    t.row("C4Head", v.C4Head.empty() ? "-" : v.C4Head);
    t.row("C4Body", v.C4Body.empty() ? "-" : v.C4Body);
}

void writeFramesById(std::ostream& out, const FrameDecoder& d)
{
    out << "\nFrames by identifier\n";
    int inRow = 0;
    for (std::uint32_t id = 0; id < 0x800; ++id) {
        const auto n = d.framesOf(id);
        if (n == 0) continue;
        char cell[32];
        std::snprintf(cell, sizeof cell, "  %03X %6u", id, static_cast<unsigned>(n));
        out << cell;
        if (++inRow == 6) { out << '\n'; inRow = 0; }
    }
    if (inRow != 0) out << '\n';
}

} // namespace

std::optional<AdapterForm> parseAdapterForm(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "elm327") return AdapterForm::Elm327;
    if (lower == "canusb") return AdapterForm::CanUsb;
    return std::nullopt;
}

bool looksLikeElm327(std::string_view text)
{
    int elm = 0, canusb = 0, lines = 0;
    FrameLine f;
    std::size_t p = 0;
    while (p < text.size() && lines < 1000) {
        std::size_t end = text.find_first_of("\r\n", p);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(p, end - p);
        if (!line.empty()) {
            ++lines;
            if (readElm327Line(line, f)) ++elm;
            if (readCanUsbLine(line, f)) ++canusb;
        }
        p = end + 1;
    }
    return elm > canusb;
}

std::string decodeReport(std::string_view text, std::optional<AdapterForm> form, std::string_view title)
{
    const bool guessed = !form.has_value();
    const bool elm = guessed ? looksLikeElm327(text) : *form == AdapterForm::Elm327;

    VehicleState state;
    MonitorSettings settings;
    settings.UseElm327 = elm;
    settings.MetricUnits = true;
    settings.Celsius = true;
    ManualClock clock(0);
    resetTrip(state, clock.tickCount());
    LastCaptionSink sink;
    FrameDecoder decoder(state, settings, clock, sink);

    // Feed the text a line at a time, moving the clock on at each 3CA frame.
    std::uint32_t clockFrames = 0;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t end = text.find('\r', p);
        end = end == std::string_view::npos ? text.size() : end + 1;
        decoder.decodeFrames(text.substr(p, end - p));
        p = end;
        if (decoder.framesOf(0x3CA) != clockFrames) {
            clockFrames = decoder.framesOf(0x3CA);
            clock.advance(kIntegrationClockMs);
        }
    }

    std::ostringstream out;
    out << "Decoded: " << title << '\n';
    out << "Adapter form: " << (elm ? "ELM327" : "CANUSB") << (guessed ? " (guessed from the text)" : "") << '\n';
    out << "Frames decoded: " << decoder.framesDecoded() << ", other lines: " << decoder.linesIgnored()
        << ", unfinished line: " << decoder.pendingText().size() << " characters\n";
    const double seconds = clockFrames > 1 ? (clockFrames - 1) * kIntegrationClockMs / 1000 : 0;
    out << "Time: " << clockFrames << " frames of 3CA, taken as " << kIntegrationClockMs << " ms apart: "
        << fixed(seconds, "0.00") << " s\n";
    writeFramesById(out, decoder);
    writeState(out, state);

    out << "\nCaptions\n";
    Table t(out);
    for (std::size_t i = 0; i < sink.captions.size(); ++i)
        t.row(CaptionColumns[i], sink.captions[i].empty() ? "-" : sink.captions[i]);
    out << "  display calls        " << sink.displayCalls << '\n';
    return out.str();
}

int runDecodeCommand(const std::string& path, std::optional<AdapterForm> form, FileSystem& files, std::ostream& out,
                     std::ostream& err)
{
    const FileText file = files.read(path, kMaxDecodedBytes);
    if (!file.read()) {
        err << fileMessage("cannot read", path, file.status == FileText::Status::Missing ? "No such file" : file.reason)
            << '\n';
        return 1;
    }
    // A raw log's marker lines sit inside received chunks, often inside a frame.
    if (guessRecording(file.text.substr(0, 4096)).kind == RecordingKind::RawLog)
        out << decodeReport(withoutRawMarkers(file.text), form, path);
    else
        out << decodeReport(file.text, form, path);
    return 0;
}

} // namespace vcm
