#pragma once
// veloxcanmoni --decode FILE [--adapter elm327|canusb]
// Feeds a file of adapter text through the frame decoder and prints the decoded values:
// what was read, the frames by identifier, every VehicleState field with its meaning,
// the captions the dashboard would show and the diagnostic replies. Without --adapter
// the form is guessed from the text. The file has no times, so the integration clock
// is taken from the 3CA frames themselves: 108 ms apart, as on the car.
#include "common/FileSystem.h"
#include "link/canformat/AdapterText.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace vcm {

// "elm327" or "canusb" (any case); nothing for anything else.
std::optional<AdapterForm> parseAdapterForm(std::string_view name);

// True when more lines of the text read as ELM327 monitor lines than as CANUSB frames.
bool looksLikeElm327(std::string_view text);

// The report for the whole text; title names the input in its first line. Without a
// form, it is guessed from the text.
std::string decodeReport(std::string_view text, std::optional<AdapterForm> form, std::string_view title);

// Prints the report of the file; returns the exit code (0 done, 1 file unreadable).
int runDecodeCommand(const std::string& path, std::optional<AdapterForm> form, FileSystem& files, std::ostream& out,
                     std::ostream& err);

} // namespace vcm
