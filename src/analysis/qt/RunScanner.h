#pragma once
// Reads the summaries of many value logs on a worker thread, so that a folder of 200
// logs does not freeze the window. One run's rows live only while it is summarised.
#include "analysis/RunSummary.h"

#include <QObject>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vcm {

struct RunListing {
    std::vector<std::string> files;      // the log, with the logs that continue it
    std::optional<RunSummary> summary;   // nothing when no row could be read
    std::vector<std::string> problems;   // "file:line: what"
};

class RunScanner : public QObject {
    Q_OBJECT
public:
    explicit RunScanner(QObject* parent = nullptr);
    ~RunScanner() override;

    // Stops a scan in progress and starts on paths (in the order they were opened).
    void scan(std::vector<std::string> paths);
    bool running() const { return running_; }

signals:
    void runFound(const vcm::RunListing& listing);
    void progress(int filesDone, int filesTotal);
    void finished();

private:
    void stop();

    std::thread worker_;
    std::atomic<bool> stop_{false};
    bool running_ = false;
    int generation_ = 0;  // of the current scan; only touched on this object's thread
};

} // namespace vcm
