#pragma once
// veloxcanmoni --report LOG|FOLDER [--out DIR]
// Writes the charts of each run as PNG files and a self-contained report.html (summary
// table, charts embedded, one line per run for a folder, the trip file's trend when the
// folder holds one) into DIR (default: "report" in the current folder). Needs no display:
// without one, Qt's offscreen platform draws the charts. Files are written into a
// staging folder inside DIR and moved into place at the end, so a failure leaves DIR as
// it was. Damaged rows are skipped and reported as "file:line: what"; an input with no
// readable run fails (exit 1) and writes nothing.
#include <string>

namespace vcm {

struct ReportArgs {
    std::string input;
    std::string outDir = "report";
};

// Writes the report and returns the exit status. Creates its own QApplication, so call
// it before the dashboard creates one.
int runReportMode(const ReportArgs& args, int argc, char** argv);

} // namespace vcm
