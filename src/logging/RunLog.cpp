#include "RunLog.h"

#include "LogFormat.h"
#include "RawMarker.h"
#include "SaveFolder.h"
#include "common/Format.h"

namespace vcm {
namespace {

constexpr std::string_view LineEnd = "\r\n";

std::int64_t minuteOf(DateTime t)
{
    const std::int64_t s = t.seconds();
    return s >= 0 ? s / 60 : (s - 59) / 60;
}

} // namespace

RunLog::RunLog(FileSystem& fs, const Clock& clock, const MonitorSettings& settings, std::string fallbackFolder)
    : fs_(fs), clock_(clock), settings_(settings), fallbackFolder_(std::move(fallbackFolder))
{
    scratch_.reserve(4096);
}

std::string RunLog::newBase() const
{
    const std::string folder = resolveSaveFolder(settings_.SavePath, fallbackFolder_);
    const std::string stem = joinPath(folder, "CAN_" + formatDateTime(clock_.now(), "ddmmyyyy_hhnn"));
    // A second set in the same minute (stop and start, or a rollover of a replay) gets
    // a suffix instead of replacing the rows just written.
    std::string base = stem;
    for (int n = 2; usedBases_.count(base) != 0; ++n) base = stem + "_" + std::to_string(n);
    return base;
}

void RunLog::openIfClosed()
{
    if (isOpen()) return;
    const std::int64_t minute = minuteOf(clock_.now());
    if (failedOpenMinute_ == minute) return; // retried once the minute changes

    const std::string base = newBase();
    csv_ = fs_.create(base + ".csv");
    if (!csv_ || !csv_->write(logHeader(settings_) + std::string(LineEnd))) {
        fail(csv_ ? "could not write" : "could not create", base + ".csv", csv_ ? csv_->error() : fs_.lastError());
        csv_.reset();
        failedOpenMinute_ = minute;
        return;
    }
    failedOpenMinute_ = -1;
    base_ = base;
    usedBases_.insert(base);
    rowCount_ = 1;
    lastSyncTick_ = clock_.tickCount();
    if (settings_.SuperLogFile) {
        raw_ = fs_.create(base + ".txt");
        if (!raw_) fail("could not create", base + ".txt", fs_.lastError());
        if (settings_.EnableGPS) {
            gps_ = fs_.create(base + ".gps");
            if (!gps_) fail("could not create", base + ".gps", fs_.lastError());
        }
    }
}

void RunLog::fail(std::string_view what, const std::string& path, const std::string& reason)
{
    lastError_ = fileMessage(what, path, reason);
}

void RunLog::syncIfDue()
{
    const double tick = clock_.tickCount();
    if (!unsynced_ || tick - lastSyncTick_ < SyncEveryMs) return;
    lastSyncTick_ = tick;
    unsynced_ = false;
    if (csv_ && !csv_->sync()) fail("could not sync", base_ + ".csv", csv_->error());
    if (raw_) raw_->sync();
    if (gps_) gps_->sync();
}

void RunLog::close()
{
    // What is closed is on the disk: a power cut after Stop loses nothing.
    if (unsynced_) {
        if (csv_) csv_->sync();
        if (raw_) raw_->sync();
        if (gps_) gps_->sync();
        unsynced_ = false;
    }
    csv_.reset();
    raw_.reset();
    gps_.reset();
    base_.clear();
    rowCount_ = 0;
}

void RunLog::writeRow(std::string_view row)
{
    openIfClosed();
    if (!isOpen()) {
        ++failedRows_;
        return;
    }
    scratch_.assign(row);
    scratch_ += LineEnd;
    if (!csv_->write(scratch_)) {
        // Disk full or medium gone: drop the set and try a fresh one next minute.
        ++failedRows_;
        fail("could not write", base_ + ".csv", csv_->error());
        close();
        failedOpenMinute_ = minuteOf(clock_.now());
        return;
    }
    ++rowCount_;
    unsynced_ = true;
    syncIfDue();
    if (rowCount_ > MaxRows) {
        close();
        openIfClosed();
    }
}

void RunLog::writeRaw(std::string_view chunk)
{
    if (!raw_ || chunk.empty()) return;
    // First line (or first character), marker, rest: one write, so the chunk reaches
    // the file whole or not at all.
    scratch_.clear();
    appendRawChunk(scratch_, chunk, clock_.now(), clock_.tickCount());
    if (!raw_->write(scratch_)) {
        fail("could not write", base_ + ".txt", raw_->error());
        raw_.reset(); // the value log keeps the space that is left
        return;
    }
    unsynced_ = true;
}

void RunLog::writeGps(std::string_view text)
{
    if (!gps_ || text.empty()) return;
    if (!gps_->write(text)) {
        fail("could not write", base_ + ".gps", gps_->error());
        gps_.reset();
        return;
    }
    unsynced_ = true;
}

} // namespace vcm
