#include "app/CommandLine.h"

#include "app/DecodeCommand.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdlib>
#include <algorithm>
#include <utility>

#ifndef VCM_VERSION_TEXT
#define VCM_VERSION_TEXT "unknown"
#endif

namespace vcm {

namespace {

// Which modes an option belongs to.
enum ModeSet : unsigned {
    InDashboard = 1,
    InDecode = 2,
    InReplay = 4,
    InHeadless = 8,
    InReport = 16,
    Everywhere = 31,
};

struct OptionSpec {
    const char* name;
    const char* valueName; // "" for a switch
    const char* help;      // one line
    unsigned modes;
};

// Every option of both programs; the help lists them in this order.
const OptionSpec kOptions[] = {
    {"help", "", "show this list and exit", Everywhere},
    {"version", "", "show the version and exit", Everywhere},
    {"simulate", "", "simulated car: elm327 (default) or canusb may follow", InDashboard},
    {"layout", "A-D", "start in this layout (Delete steps A, B, C, D)", InDashboard},
    {"screenshot", "FILE", "save the window as a PNG, then quit", InDashboard},
    {"after", "MS", "delay before --screenshot (default 500)", InDashboard},
    {"live-candump", "FILE|-", "candump -L text as the adapter (- = standard input)", InDashboard | InHeadless},
    {"decode", "FILE", "print the values decoded from adapter text", InDecode},
    {"replay", "FILE", "replay a raw log, adapter text or candump log", InReplay},
    {"export-candump", "OUT", "with --replay: write it as a candump log", InReplay},
    {"gui", "", "with --replay: play it on the dashboard", InReplay},
    {"out", "DIR", "--replay: log folder (save folder); --report: (report)", InReplay | InReport},
    {"gps", "FILE", "with --replay: GPS log (default: the .gps beside)", InReplay},
    {"adapter", "ADAPTER", "elm327 or canusb (default: guessed from the text)", InDecode | InReplay},
    {"units", "UNITS", "with --replay: si or us (default: settings file)", InReplay},
    {"temp", "TEMP", "with --replay: c or f (default: settings file)", InReplay},
    {"bps", "N", "with --replay: raw log's serial bit/s (500000)", InReplay},
    {"start", "TIME", "with --replay: start, \"YYYY-MM-DD hh:mm:ss\"", InReplay},
    {"force", "", "with --replay: replace a log or export of that name", InReplay},
    {"channel", "NAME", "with --replay: candump interface to play (the first)", InReplay},
    {"headless", "", "log live without a window until SIGINT/SIGTERM", InHeadless},
    {"settings", "FILE", "with --headless: settings file (default: beside)", InHeadless},
    {"status-every", "SECONDS", "with --headless: seconds per status line (5)", InHeadless},
    {"report", "LOG|FOLDER", "write charts and report.html of value logs", InReport},
};

const OptionSpec* find(const QString& name)
{
    for (const auto& o : kOptions)
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

// "--decode or --replay"
std::string modesOf(unsigned modes)
{
    const std::pair<unsigned, const char*> names[] = {
        {InDashboard, "the dashboard"}, {InDecode, "--decode"}, {InReplay, "--replay"}, {InHeadless, "--headless"}, {InReport, "--report"}};
    std::string text;
    for (const auto& [bit, name] : names)
        if (modes & bit)
            text += (text.empty() ? "" : " or ") + std::string(name);
    return text;
}

std::string helpText(Program program)
{
    const std::string me = programName(program);
    std::string text = "usage: " + me + (program == Program::Dashboard ? " [OPTIONS]\n" : " [--headless] [OPTIONS]\n");
    text += program == Program::Dashboard
                ? "Without a mode, opens the dashboard on the adapter of the settings file.\n"
                : "Without a mode, logs live as --headless (no window system needed).\n";
    text += program == Program::Dashboard ? "Modes: --decode, --replay, --headless, --report.\n"
                                          : "Modes: --decode, --replay, --headless (no dashboard, no --report).\n";
    text += "\nOptions:\n";
    for (const auto& o : kOptions) {
        if (program == Program::Headless && (o.modes == InDashboard || o.modes == InReport))
            continue;
        std::string left = std::string("  --") + o.name;
        if (*o.valueName)
            left += std::string(" ") + o.valueName;
        left.resize(std::max<std::size_t>(left.size() + 2, 26), ' ');
        text += left + o.help + "\n";
    }
    return text;
}

CommandLine failure(std::string why)
{
    CommandLine line;
    line.mode = ProgramMode::Error;
    line.message = std::move(why) + "\nTry --help for the options.";
    return line;
}

// A whole number in [low, high]; nothing otherwise.
std::optional<long> wholeNumber(const std::string& text, long low, long high)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < low || v > high)
        return std::nullopt;
    return v;
}

// "--name takes a or b, not "x""; the choice as true (a) or false (b).
std::optional<bool> choice(const std::string& name, const std::string& value, const char* yes, const char* no,
                           std::string& error)
{
    if (value == yes)
        return true;
    if (value == no)
        return false;
    error = "--" + name + " takes " + yes + " or " + no + ", not \"" + value + "\"";
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(QCommandLineParser& parser) : parser_(parser) {}
    bool has(const char* name) const { return parser_.isSet(QLatin1String(name)); }
    std::string value(const char* name) const { return parser_.value(QLatin1String(name)).toStdString(); }

private:
    QCommandLineParser& parser_;
};

// An option's whole number in [low, high], left as it is when the option is absent;
// false with "--name takes WHAT (low to high), not "x"" in error otherwise.
bool readNumber(const Reader& in, const char* name, long low, long high, const char* what, int& out,
                std::string& error)
{
    if (!in.has(name))
        return true;
    const auto v = wholeNumber(in.value(name), low, high);
    if (!v) {
        error = std::string("--") + name + " takes " + what + " (" + std::to_string(low) + " to " +
                std::to_string(high) + "), not \"" + in.value(name) + "\"";
        return false;
    }
    out = static_cast<int>(*v);
    return true;
}

// The replay options; false with the reason in error.
bool readReplay(const Reader& in, ReplayCommandLine& line, std::string& error)
{
    line.input = in.value("replay");
    line.exportPath = in.value("export-candump");
    line.outFolder = in.value("out");
    line.gpsPath = in.value("gps");
    line.force = in.has("force");
    line.channel = in.value("channel");
    if (in.has("channel") && (line.channel.empty() || line.channel.find_first_of(" \t()#") != std::string::npos)) {
        error = "--channel takes an interface name such as can0, not \"" + line.channel + "\"";
        return false;
    }
    line.gui = in.has("gui");
    if (in.has("adapter") && !(line.elm327 = choice("adapter", in.value("adapter"), "elm327", "canusb", error)))
        return false;
    if (in.has("units") && !(line.metric = choice("units", in.value("units"), "si", "us", error)))
        return false;
    if (in.has("temp") && !(line.celsius = choice("temp", in.value("temp"), "c", "f", error)))
        return false;
    if (!readNumber(in, "bps", 300, 10000000, "a serial speed in bit/s", line.bitsPerSecond, error))
        return false;
    if (in.has("start")) {
        line.startEpoch = parseLocalStartTime(in.value("start"));
        if (!line.startEpoch) {
            error = "--start takes a local time \"YYYY-MM-DD hh:mm:ss\", not \"" + in.value("start") + "\"";
            return false;
        }
    }
    return true;
}

} // namespace

std::string programName(Program program)
{
    return program == Program::Dashboard ? "veloxcanmoni" : "veloxcanmoni-headless";
}

CommandLine parseCommandLine(const std::vector<std::string>& args, Program program)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto& o : kOptions) {
        QCommandLineOption option(QString::fromLatin1(o.name));
        if (*o.valueName)
            option.setValueName(QString::fromLatin1(o.valueName));
        parser.addOption(option);
    }
    QStringList qargs{QString::fromStdString(programName(program))};
    for (const auto& a : args)
        qargs << QString::fromStdString(a);
    if (!parser.parse(qargs)) {
        // Qt says "Unknown option 'x'." or "Missing value after '--x'.": keep its words.
        std::string why = parser.errorText().toStdString();
        if (!why.empty() && why.back() == '.')
            why.pop_back();
        return failure(why);
    }

    const Reader in(parser);
    if (in.has("help")) {
        CommandLine line;
        line.mode = ProgramMode::Help;
        line.message = helpText(program);
        return line;
    }
    if (in.has("version")) {
        CommandLine line;
        line.mode = ProgramMode::Version;
        line.message = programName(program) + " " + VCM_VERSION_TEXT;
        return line;
    }

    // The mode, and the options that do not belong to it.
    const char* modeOptions[] = {"decode", "replay", "headless", "report"};
    const char* chosen = nullptr;
    for (const char* m : modeOptions) {
        if (!in.has(m))
            continue;
        if (chosen)
            return failure(std::string("--") + chosen + " and --" + m + " are different modes: choose one");
        chosen = m;
    }
    CommandLine line;
    line.mode = !chosen ? (program == Program::Dashboard ? ProgramMode::Dashboard : ProgramMode::Headless)
                : *chosen == 'd' ? ProgramMode::Decode
                : std::string(chosen) == "replay" ? ProgramMode::Replay
                : std::string(chosen) == "report" ? ProgramMode::Report
                                                  : ProgramMode::Headless;
    const unsigned mode = line.mode == ProgramMode::Dashboard ? InDashboard
                          : line.mode == ProgramMode::Decode  ? InDecode
                          : line.mode == ProgramMode::Replay  ? InReplay
                          : line.mode == ProgramMode::Report  ? InReport
                                                              : InHeadless;
    for (const QString& name : parser.optionNames()) {
        const OptionSpec* o = find(name);
        if (o && !(o->modes & mode))
            return failure("--" + name.toStdString() + " goes with " + modesOf(o->modes) + " only" +
                           (program == Program::Headless && (o->modes & (InDashboard | InReport)) ? ": run veloxcanmoni" : ""));
        // A value that is the next option means the value was forgotten.
        if (o && *o->valueName && parser.value(name).startsWith(QLatin1String("--")))
            return failure("--" + name.toStdString() + " needs a value");
    }

    // Words without a dash: only the simulated adapter after --simulate.
    const QStringList words = parser.positionalArguments();
    const bool simulatedAdapter = line.mode == ProgramMode::Dashboard && in.has("simulate") && words.size() == 1;
    if (!words.isEmpty() && !simulatedAdapter)
        return failure("unexpected argument \"" + words.front().toStdString() + "\"");

    std::string error;
    switch (line.mode) {
    case ProgramMode::Dashboard:
        if (in.has("simulate")) {
            line.dashboard.simulate = simulatedAdapter ? words.front().toStdString() : "elm327";
            if (*line.dashboard.simulate != "elm327" && *line.dashboard.simulate != "canusb")
                return failure("--simulate takes elm327 or canusb, not \"" + *line.dashboard.simulate + "\"");
        }
        line.dashboard.screenshot = in.value("screenshot");
        line.dashboard.liveCandump = in.value("live-candump");
        if (in.has("layout")) {
            const std::string layout = in.value("layout");
            if (layout.size() != 1 || layout[0] < 'A' || layout[0] > 'D')
                return failure("--layout takes A, B, C or D, not \"" + layout + "\"");
            line.dashboard.layoutSteps = layout[0] - 'A';
        }
        if (!readNumber(in, "after", 0, 3600000, "milliseconds", line.dashboard.screenshotAfterMs, error))
            return failure(error);
        break;
    case ProgramMode::Decode:
        line.decode.file = in.value("decode");
        if (in.has("adapter")) {
            line.decode.form = parseAdapterForm(in.value("adapter"));
            if (!line.decode.form)
                return failure("--adapter takes elm327 or canusb, not \"" + in.value("adapter") + "\"");
        }
        break;
    case ProgramMode::Replay:
        if (!readReplay(in, line.replay, error))
            return failure(error);
        break;
    case ProgramMode::Headless:
        line.headless.settingsFile = in.value("settings");
        line.headless.liveCandump = in.value("live-candump");
        if (!readNumber(in, "status-every", 1, 86400, "seconds", line.headless.statusEverySeconds, error))
            return failure(error);
        break;
    case ProgramMode::Report:
        if (program == Program::Headless)
            return failure("--report draws charts: run veloxcanmoni");
        line.report.input = in.value("report");
        if (in.has("out"))
            line.report.outDir = in.value("out");
        break;
    default:
        break;
    }
    return line;
}

} // namespace vcm
