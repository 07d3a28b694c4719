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

bool writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Moves every file of staging into outDir, report.html last.
bool publish(const QString& staging, const QString& outDir, std::string& error)
{
    QStringList names = QDir(staging).entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("report.html"));
    names.append(QStringLiteral("report.html"));
    for (const QString& name : names) {
        std::error_code ec;
        std::filesystem::rename(QDir(staging).filePath(name).toStdString(), QDir(outDir).filePath(name).toStdString(), ec);
        if (ec) {
            error = QDir(outDir).filePath(name).toStdString() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

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
    ReportContent content;
    content.title = "VeloxCanMoni report: " + QFileInfo(input).fileName().toStdString();
    TerminalProgress progress(VCM_ISATTY(2) != 0);
    bool anyFailed = false;
    const bool single = !QFileInfo(input).isDir();
    for (std::size_t i = 0; i < paths.size();) {
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
        content.runs.push_back(std::move(run));
    }
    progress.show(paths.size(), paths.size());
    progress.finish();
    if (content.runs.empty()) {
        std::cerr << "veloxcanmoni: no readable run, nothing written\n";
        return 1;
    }
    const QString folder = single ? QFileInfo(input).absolutePath() : QFileInfo(input).absoluteFilePath();
    content.trend = readTripTrend(disk, folder.toStdString());
    if (content.trend && !content.trend->trips.empty()) {
        std::vector<NamedChart> trend;
        trend.push_back(makeTrendChart(*content.trend));
        content.trendCharts = renderCharts(std::move(trend), QString());
    }

    const QString outDir = QString::fromStdString(args.outDir);
    if (!QDir().mkpath(outDir)) {
        std::cerr << args.outDir << ": cannot create the folder\n";
        return 1;
    }
    QTemporaryDir staging(QDir(outDir).filePath(QStringLiteral(".report-staging-XXXXXX")));
    std::string error;
    bool written = staging.isValid();
    if (!written) error = args.outDir + ": cannot write in this folder";
    auto stage = [&](const std::string& name, const std::string& bytes) {
        if (written && !writeFile(QDir(staging.path()).filePath(QString::fromStdString(name)), bytes)) {
            written = false;
            error = QDir(outDir).filePath(QString::fromStdString(name)).toStdString() + ": cannot be written";
        }
    };
    for (const auto& r : content.runs)
        for (const auto& c : r.charts) stage(c.fileName, c.png);
    for (const auto& c : content.trendCharts) stage(c.fileName, c.png);
    stage("report.html", reportHtml(content));
    if (!written || !publish(staging.path(), outDir, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    std::cout << "wrote " << QDir(outDir).filePath(QStringLiteral("report.html")).toStdString() << ": "
              << content.runs.size() << " run(s)\n";
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
