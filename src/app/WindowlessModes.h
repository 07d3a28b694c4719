#pragma once
// The program's modes that open no window, shared by both executables:
//   --help, --version, and a command line in error (CommandLine.h)
//   --decode FILE [...]                 decoded-value report (DecodeCommand.h)
//   --replay FILE [...], --export-candump
//                                       a recorded drive through the live path (ReplayCommand.h)
//   --headless [...]                    live logging (HeadlessCommand.h)
// veloxcanmoni adds the dashboard and the window replay (--replay FILE --gui);
// veloxcanmoni-headless is linked without Qt Widgets and Qt Gui, for a board that has
// neither installed.
#include "app/CommandLine.h"
#include "app/ReplayCommand.h"
#include "config/MonitorSettings.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vcm {

// Plays a replay into the dashboard; absent from the program without widgets.
using WindowReplayRunner =
    std::function<int(int argc, char** argv, const ReplayCommandLine& line, const ReplayEnvironment& env)>;

// Runs the mode of the command line and returns its exit status; nothing for the
// dashboard. argc and argv go to the Qt application of the mode that needs one.
std::optional<int> runWindowlessMode(const CommandLine& line, Program program, int argc, char** argv,
                                     const WindowReplayRunner& windowReplay);

// --live-candump FILE|- (both programs): the adapter's port number reads candump -L text
// from FILE or standard input, as monitor text of the adapter of the settings.
void routeAdapterToCandump(std::map<int, std::string>& portMap, MonitorSettings& settings, const std::string& path);

} // namespace vcm
