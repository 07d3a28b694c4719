#pragma once
// The log set of a run: value log (.csv), raw adapter text (.txt) and GPS text (.gps),
// named <save folder>/CAN_ddmmyyyy_hhnn.<ext> by the minute they were opened.
//
// Raw log: each received chunk is written byte for byte, with one marker line
// (RawMarker.h has the format).
//
// Files never stop acquisition: a failed open or write shows nothing but is kept in
// lastError() with the path and the operating system's reason. After a failed open, or
// a failed row write (which closes the set), a new set is tried when the clock's minute
// changes; rows that could not be written are counted. A write that fails leaves no
// part of its row behind. The value log comes first: a raw-log write that fails closes
// the raw log for the rest of the set, so that it cannot take the space the value log
// needs.
// Every write reaches the operating system before it returns, and the open files are
// synced to the disk at most SyncEveryMs after a write: a power cut loses about a
// second of rows at most.
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "config/MonitorSettings.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace vcm {

class RunLog {
public:
    // A value log holds its header and at most this many rows.
    static constexpr std::int32_t MaxRows = 65000;
    static constexpr double SyncEveryMs = 1000;

    // fallbackFolder is used when SavePath is empty. Settings are read at each open.
    RunLog(FileSystem& fs, const Clock& clock, const MonitorSettings& settings, std::string fallbackFolder);

    // WriteOpenCSVFile: opens a new set when none is open (value log with its header,
    // raw log with SuperLogFile, GPS log with SuperLogFile and EnableGPS). After a
    // failed open nothing is tried again until the clock's minute changes.
    void openIfClosed();
    // WriteCloseCSVFile: closes whatever is open; the row count goes to 0.
    void close();

    bool isOpen() const { return csv_ != nullptr; }
    // Path of the open set without extension, "" when none is open.
    const std::string& fileBase() const { return base_; }
    // 1 after the header, plus 1 per row; 0 when closed.
    std::int32_t rowCount() const { return rowCount_; }
    // Rows that could not be written (no set open, or the write failed).
    std::int64_t failedRowCount() const { return failedRows_; }
    // The last failure: "could not write /logs/CAN_04122026_0910.csv: No space left on device".
    const std::string& lastError() const { return lastError_; }

    // One value-log row (without line end): opens a set if none is open, writes the
    // row with CR LF, and after the MaxRows-th row closes the set and opens the next.
    void writeRow(std::string_view row);
    // A chunk of adapter text with its marker line (SuperLogFile, set open).
    void writeRaw(std::string_view chunk);
    // GPS text as received (SuperLogFile and EnableGPS, set open).
    void writeGps(std::string_view text);

private:
    std::string newBase() const;
    void fail(std::string_view what, const std::string& path, const std::string& reason);
    void syncIfDue();

    FileSystem& fs_;
    const Clock& clock_;
    const MonitorSettings& settings_;
    std::string fallbackFolder_;
    std::string base_;
    std::unique_ptr<OutputFile> csv_, raw_, gps_;
    std::int32_t rowCount_ = 0;
    std::int64_t failedRows_ = 0;
    std::int64_t failedOpenMinute_ = -1;   // clock minute of the last failed open, -1 none
    std::set<std::string> usedBases_;      // never replace a set written in this run
    std::string scratch_;
    std::string lastError_;
    double lastSyncTick_ = 0;
    bool unsynced_ = false;
};

} // namespace vcm
