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

struct ReportContent {
    std::string title;
    std::vector<ReportRun> runs;
    std::optional<TripTrend> trend;
    std::vector<ReportChart> trendCharts;
};

std::string reportHtml(const ReportContent& content);
std::string base64(std::string_view bytes);
std::string escapeHtml(std::string_view text);

} // namespace vcm
