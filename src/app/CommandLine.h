#pragma once
// The command line of both programs, read from one table of options with Qt's
// QCommandLineParser (Qt Core only: nothing here needs a display).
//
//   veloxcanmoni [--simulate [elm327|canusb]] [--layout A|B|C|D] [--screenshot FILE [--after MS]]
//                [--live-candump FILE|-]
//   veloxcanmoni --decode FILE [--adapter elm327|canusb]
//   veloxcanmoni --replay FILE [--out DIR] [--gps FILE] [--adapter A] [--units si|us]
//                [--temp c|f] [--bps N] [--start TIME] [--force] [--channel NAME] [--gui]
//   veloxcanmoni --replay FILE --export-candump OUT.log [--adapter A] [--channel NAME] [--force]
//   veloxcanmoni --headless [--settings FILE] [--status-every SECONDS] [--live-candump FILE|-]
//   veloxcanmoni --report LOG|FOLDER [--out DIR]
//   veloxcanmoni --help | --version
// veloxcanmoni-headless takes the same modes except the dashboard; without a mode it
// logs live, as --headless.
#include "app/ReplayCommand.h"
#include "link/canformat/AdapterText.h"

#include <optional>
#include <string>
#include <vector>

namespace vcm {

enum class Program { Dashboard, Headless };

enum class ProgramMode { Dashboard, Decode, Replay, Headless, Report, Help, Version, Error };

struct DashboardOptions {
    std::optional<std::string> simulate; // "elm327" or "canusb" with --simulate
    std::string screenshot;              // PNG to save, then quit
    int screenshotAfterMs = 500;
    std::string liveCandump; // candump -L text as the adapter: a file, or "-" for standard input
    int layoutSteps = 0; // Delete presses from layout A to the --layout asked for
};

struct DecodeOptions {
    std::string file;
    std::optional<AdapterForm> form; // guessed from the text when absent
};

struct HeadlessOptions {
    std::string settingsFile; // "" = the file beside the program
    int statusEverySeconds = 5;
    std::string liveCandump; // as DashboardOptions::liveCandump
};

struct ReportOptions {
    std::string input;            // a value log or a folder of them
    std::string outDir = "report"; // where report.html and the charts go
};

struct CommandLine {
    ProgramMode mode = ProgramMode::Error;
    std::string message; // the help or version text, or the error (without the program name)
    DashboardOptions dashboard;
    DecodeOptions decode;
    ReplayCommandLine replay;
    HeadlessOptions headless;
    ReportOptions report;
};

// args are the program's arguments after its name.
CommandLine parseCommandLine(const std::vector<std::string>& args, Program program);

std::string programName(Program program);

} // namespace vcm
