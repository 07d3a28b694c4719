#include "RunLog.h"

namespace vcm {

RunLog::RunLog(FileSystem& fs, const Clock& clock, const MonitorSettings& settings, std::string fallbackFolder)
    : fs_(fs), clock_(clock), settings_(settings), fallbackFolder_(std::move(fallbackFolder)) {}
void RunLog::openIfClosed() {}
void RunLog::close() {}
void RunLog::writeRow(std::string_view) {}
void RunLog::writeRaw(std::string_view) {}
void RunLog::writeGps(std::string_view) {}
std::string RunLog::newBase() const { return {}; }

} // namespace vcm
