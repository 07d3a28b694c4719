#include "app/ReplayCommand.h"

#include "common/FileSystem.h"
#include "common/Format.h"
#include "link/replay/CandumpExport.h"
#include "link/replay/LocalTime.h"
#include "link/replay/RecordingError.h"
#include "link/replay/RecordingSource.h"
#include "link/replay/ReplaySession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace vcm {

const char* const kReplayUsage =
    "usage: veloxcanmoni --replay FILE [--out DIR] [--gps FILE] [--adapter elm327|canusb]\n"
    "                    [--units si|us] [--temp c|f] [--bps N] [--start \"YYYY-MM-DD hh:mm:ss\"] [--force]\n"
    "                    [--channel NAME]\n"
    "       veloxcanmoni --replay FILE --export-candump OUT.log [--adapter elm327|canusb] [--channel NAME] [--force]\n"
    "FILE: a raw log (CAN_ddmmyyyy_hhnn.txt), ELM327 or CANUSB text, or a candump log.\n";

namespace {

std::optional<std::int64_t> parseStart(const std::string& text)
{
    int y, mo, d, h, mi, s;
    char t;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &y, &mo, &d, &t, &h, &mi, &s) != 7 || (t != ' ' && t != 'T'))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return epochFromLocal(DateTime::fromCivil({y, mo, d, h, mi, s}));
}

// --channel NAME: a candump interface name ("can0", "vcan1").
bool parseChannelOption(const std::optional<std::string>& value, std::string& channel, std::string& error)
{
    if (!value)
        return false;
    if (value->empty() || value->find_first_of(" \t()#") != std::string::npos) {
        error = "--channel takes an interface name such as can0, not \"" + *value + "\"";
        return false;
    }
    channel = *value;
    return true;
}

// ".part" files of value logs that a killed replay left in the folder: nothing looks
// complete in them and nothing else writes such names.
void removeUnfinishedFiles(const std::string& folder, std::ostream& err)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("CAN_", 0) != 0 || it->path().extension() != ".part")
            continue;
        std::error_code removed;
        if (std::filesystem::remove(it->path(), removed))
            err << it->path().string() << ": removed, left unfinished by an earlier replay\n";
    }
}

// An export never replaces a file unless asked, and never its own input.
std::string exportRefusal(const ReplayCommandLine& line)
{
    std::error_code ec;
    if (std::filesystem::exists(line.exportPath, ec) && std::filesystem::equivalent(line.input, line.exportPath, ec))
        return line.exportPath + " is the input: choose another file for the export";
    if (!line.force && std::filesystem::exists(line.exportPath, ec))
        return line.exportPath + " exists already: choose another file, or --force to replace it";
    return {};
}

} // namespace

std::optional<ReplayCommandLine> parseReplayCommandLine(const std::vector<std::string>& args, std::string& error)
{
    ReplayCommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto choice = [&](const char* yes, const char* no) -> std::optional<bool> {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (*v == yes)
                return true;
            if (*v == no)
                return false;
            error = a + " takes " + yes + " or " + no + ", not \"" + *v + "\"";
            return std::nullopt;
        };
        if (a == "--channel") {
            if (!parseChannelOption(value(), line.channel, error))
                return std::nullopt;
        } else if (a == "--replay" || a == "--out" || a == "--gps" || a == "--export-candump") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            (a == "--replay" ? line.input : a == "--out" ? line.outFolder : a == "--gps" ? line.gpsPath : line.exportPath) = *v;
        } else if (a == "--adapter" || a == "--units" || a == "--temp") {
            const auto v = a == "--adapter" ? choice("elm327", "canusb") : a == "--units" ? choice("si", "us") : choice("c", "f");
            if (!v)
                return std::nullopt;
            (a == "--adapter" ? line.elm327 : a == "--units" ? line.metric : line.celsius) = *v;
        } else if (a == "--bps") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            char* end = nullptr;
            const long bps = std::strtol(v->c_str(), &end, 10);
            if (*end != '\0' || bps < 300 || bps > 10000000) {
                error = "--bps takes a serial speed in bit/s (300 to 10000000), not \"" + *v + "\"";
                return std::nullopt;
            }
            line.bitsPerSecond = static_cast<int>(bps);
        } else if (a == "--start") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            line.startEpoch = parseStart(*v);
            if (!line.startEpoch) {
                error = "--start takes a local time \"YYYY-MM-DD hh:mm:ss\", not \"" + *v + "\"";
                return std::nullopt;
            }
        } else if (a == "--force") {
            line.force = true;
        } else if (a == "--gui") {
            line.gui = true;
        } else {
            error = "unknown option \"" + a + "\"";
            return std::nullopt;
        }
    }
    if (line.input.empty()) {
        error = "--replay FILE is missing";
        return std::nullopt;
    }
    return line;
}

namespace {

// "[##########----------]  50%" on one terminal line, redrawn in place.
class ProgressBar {
public:
    ProgressBar(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
    ~ProgressBar() { finish(); }
    void operator()(double fraction)
    {
        if (!shown_)
            return;
        const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
        if (percent == last_)
            return;
        last_ = percent;
        const int filled = percent * 30 / 100;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(30 - filled), '-') << "] " << percent << "%" << std::flush;
        drawn_ = true;
    }
    void finish()
    {
        if (drawn_)
            err_ << "\r" << std::string(40, ' ') << "\r" << std::flush;
        drawn_ = false;
    }

private:
    std::ostream& err_;
    bool shown_;
    int last_ = -1;
    bool drawn_ = false;
};

// The GPS log of the same log set: CAN_04122026_0910.txt -> CAN_04122026_0910.gps.
std::string gpsBeside(const std::string& input)
{
    std::filesystem::path p(input);
    p.replace_extension(".gps");
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec) ? p.string() : std::string();
}

} // namespace

int runReplayCommand(const ReplayCommandLine& line, const ReplayEnvironment& env, std::ostream& out, std::ostream& err)
{
    if (line.gui) {
        err << "--gui plays into the dashboard: run it from the program, not this mode\n";
        return 2;
    }
    RecordingOptions recording;
    if (line.elm327)
        recording.form = *line.elm327 ? AdapterForm::Elm327 : AdapterForm::CanUsb;
    recording.bitsPerSecond = line.bitsPerSecond;
    recording.startEpoch = line.startEpoch;
    recording.note = [&err](const std::string& note) { err << note << "\n"; };
    recording.channel = line.channel;
    recording.exactStamps = !line.exportPath.empty();
    ProgressBar progress(err, env.progressBar);
    if (!line.exportPath.empty()) {
        if (const std::string refusal = exportRefusal(line); !refusal.empty()) {
            err << refusal << "\n";
            return 1;
        }
    }
    try {
        auto source = openRecording(line.input, recording);
        const auto started = std::chrono::steady_clock::now();
        auto seconds = [&] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        };
        if (!line.exportPath.empty()) {
            const ExportSummary s = exportCandump(*source, line.exportPath, "can0", std::ref(progress));
            progress.finish();
            out << "wrote " << line.exportPath << ": " << s.frames << " frames";
            if (s.otherLines > 0)
                out << " (" << s.otherLines << " lines of adapter replies left out)";
            out << "\n";
            return 0;
        }

        ReplayOptions options;
        options.settings = env.settings;
        if (line.metric)
            options.settings.MetricUnits = *line.metric;
        if (line.celsius)
            options.settings.Celsius = *line.celsius;
        options.outFolder = line.outFolder.empty() ? env.saveFolder : line.outFolder;
        options.replaceExisting = line.force;
        options.decimalSeparator = env.decimalSeparator;
        options.gpsPath = line.gpsPath;
        if (options.gpsPath.empty() && source->kind() == RecordingKind::RawLog) {
            options.gpsPath = gpsBeside(line.input);
            if (!options.gpsPath.empty())
                err << options.gpsPath << ": GPS log of the same log set, replayed with it\n";
        }
        std::error_code ec;
        std::filesystem::create_directories(options.outFolder, ec);
        removeUnfinishedFiles(options.outFolder, err);
        DiskFileSystem disk;
        const ReplayReport report = replayRecording(*source, options, disk, std::ref(progress));
        progress.finish();
        const double took = seconds();
        out << "replayed " << formatNumber(report.recordedMs / 1000.0, "0.0", '.') << " s of recorded time in "
            << formatNumber(took, "0.000", '.') << " s";
        if (took > 0)
            out << " (" << formatNumber(report.recordedMs / 1000.0 / took, "0", '.') << " times real time)";
        out << ": " << report.rows << " rows, " << formatNumber(report.distanceM / 1000.0, "0.000", '.') << " km, "
            << formatNumber(report.fuelMl / 1000.0, "0.000", '.') << " l\n";
        if (report.pauses > 0)
            err << line.input << ": " << report.pauses << " gap(s) of more than " << formatNumber(PauseSeconds, "0", '.')
                << " s without received text (the longest " << formatNumber(report.longestPauseMs / 1000.0, "0.0", '.')
                << " s) replayed as " << formatNumber(PauseSeconds, "0", '.') << " s pauses\n";
        for (const auto& note : report.notes)
            err << note << "\n";
        for (const auto& f : report.files)
            out << "wrote " << f << "\n";
        return 0;
    } catch (const RecordingError& e) {
        progress.finish();
        err << e.what() << "\n";
    } catch (const ReplayError& e) {
        progress.finish();
        err << e.what() << "\n";
    }
    return 1;
}

} // namespace vcm
