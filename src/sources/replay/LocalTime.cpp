#include "sources/replay/LocalTime.h"

#include <chrono>
#include <filesystem>

namespace vcm {

std::int64_t fileModificationEpoch(const std::string& path)
{
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec)
        return 0;
    // The file clock's epoch is the library's own: measure from "now" on both clocks.
    const auto age = std::filesystem::file_time_type::clock::now() - written;
    const auto at = std::chrono::system_clock::now() - std::chrono::duration_cast<std::chrono::system_clock::duration>(age);
    return std::chrono::duration_cast<std::chrono::seconds>(at.time_since_epoch()).count();
}

} // namespace vcm
