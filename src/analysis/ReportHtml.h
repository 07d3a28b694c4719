#pragma once
// report.html: one self-contained page (charts embedded as PNG data) with the summary
// of each run, its charts, and for a folder a table with one line per run and the trip
// file's trend.
#include "RunSummary.h"
#include "TripTrend.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

struct ReportChart {
    std::string title;
    std::string fileName;  // the PNG written beside report.html
    std::string png;       // its bytes
};

struct ReportRun {
    std::string name;      // the first log's file name
    RunSummary summary;
    std::vector<ReportChart> charts;
    std::vector<std::string> problems;  // "file:line: what" of skipped rows
};

// The page in pieces, so that a report of many runs is written run by run:
//   reportHead + reportRunList (folders) + reportRunSection per run + reportTrend + reportTail.
struct RunListEntry {
    std::string name;
    RunSummary summary;
};
std::string reportHead(std::string_view title);
std::string reportRunList(const std::vector<RunListEntry>& runs);
std::string reportRunSection(const ReportRun& run);
std::string reportTrend(const TripTrend& trend, const std::vector<ReportChart>& charts);
std::string reportTail();

std::string base64(std::string_view bytes);
std::string escapeHtml(std::string_view text);

} // namespace vcm
