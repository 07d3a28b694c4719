#pragma once
// Writes the frames of any recording as a can-utils candump log (format and worked
// example in CandumpLog.h), so that captures made with this program open in can-utils
// (canplayer, cansniffer via vcan) and other CAN tools. Each frame is stamped with the
// time its line was complete at the adapter port; adapter replies are left out.
#include "sources/replay/RecordingSource.h"

#include <cstddef>
#include <functional>
#include <string>

namespace vcm {

struct ExportSummary {
    std::size_t frames = 0;
    std::size_t otherLines = 0; // adapter replies, prompts and damaged lines left out
};

// Writes to a temporary name beside path and renames it into place once complete, so
// that a failed export leaves no file that looks whole. Frames keep the interface name
// of a candump input (interface names the others). Throws RecordingError.
ExportSummary exportCandump(RecordingSource& source, const std::string& path, std::string_view interface = "can0",
                            const std::function<void(double)>& progress = {});

} // namespace vcm
