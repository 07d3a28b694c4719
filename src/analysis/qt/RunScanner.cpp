#include "RunScanner.h"

#include "analysis/RunFiles.h"

#include <memory>

namespace vcm {

RunScanner::RunScanner(QObject* parent) : QObject(parent) {}

RunScanner::~RunScanner() { stop(); }

void RunScanner::stop()
{
    stop_ = true;
    if (worker_.joinable()) worker_.join();
    stop_ = false;
    running_ = false;
}

void RunScanner::scan(std::vector<std::string> paths)
{
    stop();
    running_ = true;
    const int generation = ++generation_;
    const int total = static_cast<int>(paths.size());
    // Results travel to this object's thread as queued calls; calls still queued when
    // the scanner is destroyed are dropped with it.
    worker_ = std::thread([this, paths = std::move(paths), total, generation] {
        DiskFileSystem disk;
        std::size_t i = 0;
        while (i < paths.size() && !stop_) {
            RunRead read = readRunAt(disk, paths, i);
            auto listing = std::make_shared<RunListing>();
            listing->files.assign(paths.begin() + static_cast<std::ptrdiff_t>(i),
                                  paths.begin() + static_cast<std::ptrdiff_t>(i + read.filesUsed));
            if (read.result.run) listing->summary = summarize(*read.result.run);
            for (const auto& p : read.result.problems) listing->problems.push_back(p.text());
            i += read.filesUsed;
            const int done = static_cast<int>(i);
            QMetaObject::invokeMethod(this, [this, listing, done, total, generation] {
                if (generation != generation_) return;  // from a scan that was stopped
                emit runFound(*listing);
                emit progress(done, total);
            }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(this, [this, generation] {
            if (generation != generation_) return;
            running_ = false;
            emit finished();
        }, Qt::QueuedConnection);
    });
}

} // namespace vcm
