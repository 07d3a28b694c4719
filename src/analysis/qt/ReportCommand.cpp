#include "ReportCommand.h"

#include "ChartExport.h"
#include "RunCharts.h"
#include "analysis/ReportHtml.h"
#include "analysis/RunFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>

#if defined(_WIN32)
#include <io.h>
#define VCM_ISATTY _isatty
#else
#include <unistd.h>
#define VCM_ISATTY isatty
#endif

namespace vcm {
namespace {

const QSize ChartSize(900, 420);

// "[#####.....] 3/12" on stderr, redrawn in place; nothing when stderr is not a terminal.
class TerminalProgress {
public:
    explicit TerminalProgress(bool shown) : shown_(shown) {}
    void show(std::size_t done, std::size_t total)
    {
        if (!shown_ || total == 0) return;
        constexpr std::size_t Width = 30;
        const std::size_t filled = done * Width / total;
        std::fprintf(stderr, "\r[%s%s] %zu/%zu logs", std::string(filled, '#').c_str(),
                     std::string(Width - filled, '.').c_str(), done, total);
        std::fflush(stderr);
    }
    void finish()
    {
        if (shown_) std::fputs("\n", stderr);
    }

private:
    bool shown_;
};

bool noDisplay()
{
#if defined(_WIN32) || defined(__APPLE__)
    return false;
#else
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

std::vector<std::string> inputLogs(const QString& input)
{
    std::vector<std::string> paths;
    const QFileInfo info(input);
    if (!info.isDir()) return {QDir::cleanPath(info.absoluteFilePath()).toStdString()};
    const QDir dir(input);
    for (const QString& name : dir.entryList({QStringLiteral("*.csv"), QStringLiteral("*.CSV")}, QDir::Files))
        if (isValueLogName(name.toStdString())) paths.push_back(QDir::cleanPath(dir.absoluteFilePath(name)).toStdString());
    sortByOpeningTime(paths);
    return paths;
}

// The report's files, written into a staging folder inside the output folder (made on
// the first file) and moved into place by publish(), report.html last. Run sections
// go to a part file as each run is drawn, so memory holds one run's charts at a time.
class StagedReport {
public:
    explicit StagedReport(QString outDir) : outDir_(std::move(outDir)) {}

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    void write(const std::string& name, std::string_view bytes)
    {
        if (!open()) return;
        std::ofstream out(stagedPath(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) fail(name);
    }
    void appendSection(std::string_view html)
    {
        if (!open()) return;
        sections_.write(html.data(), static_cast<std::streamsize>(html.size()));
        if (!sections_) fail("report.html");
    }
    // report.html = head + sections written so far + tail, then every file moved into place.
    bool publish(const std::string& head, const std::string& tail)
    {
        if (!open()) return false;
        sections_.close();
        {
            std::ofstream page(stagedPath("report.html"), std::ios::binary | std::ios::trunc);
            std::ifstream parts(stagedPath(SectionsFile), std::ios::binary);
            page << head << parts.rdbuf() << tail;
            page.close();
            if (!page) fail("report.html");
        }
        std::filesystem::remove(stagedPath(SectionsFile));
        if (!ok()) return false;
        QStringList names = QDir(staging_->path()).entryList(QDir::Files, QDir::Name);
        names.removeAll(QStringLiteral("report.html"));
        names.append(QStringLiteral("report.html"));
        for (const QString& name : names) {
            std::error_code ec;
            std::filesystem::rename(stagedPath(name.toStdString()), QDir(outDir_).filePath(name).toStdString(), ec);
            if (ec) {
                error_ = QDir(outDir_).filePath(name).toStdString() + ": " + ec.message();
                return false;
            }
        }
        return true;
    }

private:
    static constexpr const char* SectionsFile = "sections.part";

    bool open()
    {
        if (staging_ || !ok()) return ok();
        if (!QDir().mkpath(outDir_)) {
            error_ = outDir_.toStdString() + ": cannot create the folder";
            return false;
        }
        staging_ = std::make_unique<QTemporaryDir>(QDir(outDir_).filePath(QStringLiteral(".report-staging-XXXXXX")));
        if (!staging_->isValid()) {
            error_ = outDir_.toStdString() + ": cannot write in this folder";
            return false;
        }
        sections_.open(stagedPath(SectionsFile), std::ios::binary | std::ios::trunc);
        if (!sections_) fail("report.html");
        return ok();
    }
    std::string stagedPath(const std::string& name) const
    {
        return QDir(staging_->path()).filePath(QString::fromStdString(name)).toStdString();
    }
    void fail(const std::string& name)
    {
        if (ok()) error_ = QDir(outDir_).filePath(QString::fromStdString(name)).toStdString() + ": cannot be written";
    }

    QString outDir_;
    std::unique_ptr<QTemporaryDir> staging_;
    std::ofstream sections_;
    std::string error_;
};

std::vector<ReportChart> renderCharts(std::vector<NamedChart> charts, const QString& prefix)
{
    std::vector<ReportChart> out;
    for (NamedChart& c : charts) {
        ReportChart r;
        r.title = c.title.toStdString();
        r.fileName = (prefix + c.name + QStringLiteral(".png")).toStdString();
        const QByteArray png = renderChartPng(std::move(c.chart), ChartSize);
        r.png.assign(png.constData(), static_cast<std::size_t>(png.size()));
        out.push_back(std::move(r));
    }
    return out;
}

int writeReport(const ReportArgs& args)
{
    const QString input = QString::fromStdString(args.input);
    if (!QFileInfo::exists(input)) {
        std::cerr << args.input << ":0: no such file or folder\n";
        return 1;
    }
    const std::vector<std::string> paths = inputLogs(input);
    if (paths.empty()) {
        std::cerr << args.input << ":0: no value log (CAN_ddmmyyyy_hhnn.csv) in this folder\n";
        return 1;
    }
    DiskFileSystem disk;
    StagedReport report(QString::fromStdString(args.outDir));
    std::vector<RunListEntry> runs;
    TerminalProgress progress(VCM_ISATTY(2) != 0);
    bool anyFailed = false;
    const bool single = !QFileInfo(input).isDir();
    for (std::size_t i = 0; i < paths.size() && report.ok();) {
        progress.show(i, paths.size());
        RunRead read = readRunAt(disk, paths, i);
        i += read.filesUsed;
        std::vector<std::string> problems;
        for (const auto& p : read.result.problems) problems.push_back(p.text());
        if (!problems.empty()) progress.finish();  // the problems go below the bar
        for (const auto& p : problems) std::cerr << p << "\n";
        if (!read.result.run) {
            anyFailed = true;
            continue;
        }
        ReportRun run;
        run.name = QFileInfo(QString::fromStdString(read.result.run->files.front())).completeBaseName().toStdString();
        run.summary = summarize(*read.result.run);
        run.problems = std::move(problems);
        run.charts = renderCharts(makeRunCharts(*read.result.run),
                                  single ? QString() : QString::fromStdString(run.name) + QStringLiteral("-"));
        for (const auto& c : run.charts) report.write(c.fileName, c.png);
        report.appendSection(reportRunSection(run));
        runs.push_back({run.name, run.summary});
    }
    progress.show(paths.size(), paths.size());
    progress.finish();
    if (runs.empty()) {
        std::cerr << "veloxcanmoni: no readable run, nothing written\n";
        return 1;
    }
    const QString folder = single ? QFileInfo(input).absolutePath() : QFileInfo(input).absoluteFilePath();
    const auto trend = readTripTrend(disk, folder.toStdString());
    if (trend && !trend->trips.empty()) {
        std::vector<NamedChart> trendChart;
        trendChart.push_back(makeTrendChart(*trend));
        const std::vector<ReportChart> charts = renderCharts(std::move(trendChart), QString());
        for (const auto& c : charts) report.write(c.fileName, c.png);
        report.appendSection(reportTrend(*trend, charts));
    }
    const std::string title = "VeloxCanMoni report: " + QFileInfo(input).fileName().toStdString();
    const std::string head = reportHead(title) + (runs.size() > 1 ? reportRunList(runs) : std::string());
    if (!report.publish(head, reportTail())) {
        std::cerr << report.error() << "\n";
        return 1;
    }
    std::cout << "wrote " << QDir(QString::fromStdString(args.outDir)).filePath(QStringLiteral("report.html")).toStdString()
              << ": " << runs.size() << " run(s)\n";
    return anyFailed ? 1 : 0;
}

} // namespace

int runReportMode(const ReportArgs& args, int argc, char** argv)
{
    // A board without a screen: draw offscreen rather than fail to find a display.
    if (noDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return writeReport(args);
}

} // namespace vcm
