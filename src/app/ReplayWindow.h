#pragma once
// veloxcanmoni --replay FILE --gui: the recording played into the dashboard at the speed
// it was recorded, so a past drive can be watched on the gauges. The window is the live
// one (MainForm, its timers, its logs); only the adapter port and the clock come from
// the recording. Its logs go to --out DIR, or to a temporary folder removed at the end.
#include "app/ReplayCommand.h"

#include <string>

namespace vcm {

int runReplayWindow(int argc, char** argv, const ReplayCommandLine& line, const ReplayEnvironment& env);

} // namespace vcm
