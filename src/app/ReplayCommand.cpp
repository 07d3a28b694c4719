#include "app/ReplayCommand.h"

#include "common/FileSystem.h"
#include "common/Format.h"
#include "sources/replay/CandumpExport.h"
#include "sources/replay/LocalTime.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/RecordingSource.h"
#include "sources/replay/ReplaySession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <ostream>

namespace vcm {

std::optional<std::int64_t> parseLocalStartTime(const std::string& text)
{
    int y, mo, d, h, mi, s;
    char t;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d", &y, &mo, &d, &t, &h, &mi, &s) != 7 || (t != ' ' && t != 'T'))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return epochFromLocal(DateTime::fromCivil({y, mo, d, h, mi, s}));
}

namespace {

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
