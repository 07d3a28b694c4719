#include "TripBrowser.h"

#include "ChartExport.h"
#include "RunCharts.h"
#include "analysis/ReportHtml.h"
#include "analysis/RunFiles.h"

#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vcm {
namespace {

constexpr int ListingRole = Qt::UserRole;
constexpr int SortRole = Qt::UserRole + 1;

// Sorts by the number (or date) behind the text, not by the text.
class SortItem : public QTableWidgetItem {
public:
    SortItem(const QString& text, const QVariant& key) : QTableWidgetItem(text) { setData(SortRole, key); }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return QVariant::compare(data(SortRole), other.data(SortRole)) == QPartialOrdering::Less;
    }
};

QStringList valueLogsOf(const QString& folder)
{
    QStringList out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.csv"), QStringLiteral("*.CSV")}, QDir::Files))
        if (isValueLogName(name.toStdString())) out << dir.filePath(name);
    return out;
}

} // namespace

TripBrowser::TripBrowser(const QString& saveFolder, QWidget* parent) : QDialog(parent), saveFolder_(saveFolder)
{
    setObjectName(QStringLiteral("TripBrowser"));
    setWindowTitle(QStringLiteral("Trip browser"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1200, 800);

    auto* top = new QHBoxLayout;
    auto* addFolder = new QPushButton(QStringLiteral("Add folder..."));
    addFolder->setObjectName(QStringLiteral("AddFolder"));
    auto* addFile = new QPushButton(QStringLiteral("Add log..."));
    addFile->setObjectName(QStringLiteral("AddFile"));
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("ScanProgress"));
    progress_->setFormat(QStringLiteral("%v / %m logs read"));
    chartChoice_ = new QComboBox;
    chartChoice_->setObjectName(QStringLiteral("ChartChoice"));
    auto* save = new QPushButton(QStringLiteral("Save chart..."));
    save->setObjectName(QStringLiteral("SaveChart"));
    top->addWidget(addFolder);
    top->addWidget(addFile);
    top->addWidget(progress_, 1);
    top->addWidget(chartChoice_);
    top->addWidget(save);

    list_ = new QTableWidget(0, static_cast<int>(runListColumns().size()));
    list_->setObjectName(QStringLiteral("RunList"));
    QStringList headers;
    for (const auto& c : runListColumns()) headers << QString::fromStdString(c);
    list_->setHorizontalHeaderLabels(headers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setSortingEnabled(true);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("RunSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    summary_->setWordWrap(true);
    auto* left = new QSplitter(Qt::Vertical);
    left->addWidget(list_);
    left->addWidget(summary_);

    auto* charts = new QWidget;
    chartGrid_ = new QGridLayout(charts);
    auto* scroll = new QScrollArea;
    scroll->setWidget(charts);
    scroll->setWidgetResizable(true);

    auto* trendPage = new QWidget;
    auto* trendLayout = new QVBoxLayout(trendPage);
    trendTotals_ = new QLabel;
    trendTotals_->setObjectName(QStringLiteral("TrendTotals"));
    trendLayout->addWidget(trendTotals_);
    trendView_ = new QChartView;
    trendView_->setObjectName(QStringLiteral("chart_trend"));
    trendView_->setRenderHint(QPainter::Antialiasing);
    trendLayout->addWidget(trendView_, 1);

    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("BrowserTabs"));
    tabs->addTab(scroll, QStringLiteral("Run"));
    tabs->addTab(trendPage, QStringLiteral("Trip file"));

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(left);
    split->addWidget(tabs);
    split->setStretchFactor(1, 1);
    split->setSizes({430, 770});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);

    connect(addFolder, &QPushButton::clicked, this, &TripBrowser::chooseFolder);
    connect(addFile, &QPushButton::clicked, this, &TripBrowser::chooseFiles);
    connect(save, &QPushButton::clicked, this, &TripBrowser::saveChosenChart);
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        const auto rows = list_->selectionModel()->selectedRows();
        if (!rows.isEmpty()) showRun(rows.front().row());
    });
    connect(&scanner_, &RunScanner::runFound, this, &TripBrowser::addListing);
    connect(&scanner_, &RunScanner::progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });

    showTrend();
    addPaths({saveFolder});
}

TripBrowser::~TripBrowser() = default;

void TripBrowser::addPaths(const QStringList& paths)
{
    for (const QString& p : paths) {
        const QStringList files = QFileInfo(p).isDir() ? valueLogsOf(p) : QStringList{p};
        for (const QString& f : files) {
            const std::string path = QDir::cleanPath(QFileInfo(f).absoluteFilePath()).toStdString();
            if (std::find(paths_.begin(), paths_.end(), path) == paths_.end()) paths_.push_back(path);
        }
    }
    sortByOpeningTime(paths_);
    listings_.clear();
    list_->setRowCount(0);
    progress_->setRange(0, std::max<int>(1, static_cast<int>(paths_.size())));
    progress_->setValue(0);
    scanner_.scan(paths_);
}

void TripBrowser::addListing(const RunListing& listing)
{
    listings_.push_back(listing);
    const int index = static_cast<int>(listings_.size()) - 1;
    list_->setSortingEnabled(false);
    const int row = list_->rowCount();
    list_->insertRow(row);
    std::vector<std::string> cells(runListColumns().size(), "-");
    std::vector<QVariant> keys(cells.size(), QVariant(0.0));
    if (listing.summary) {
        const RunSummary& s = *listing.summary;
        cells = runListRow(s);
        const double start = static_cast<double>(s.start.seconds());
        keys = {start, static_cast<double>(s.start.seconds() % 86400), s.durationS, s.distanceKm, s.fuelL,
                s.litresPer100Km.value_or(-1), s.modeShare(DriveMode::Electric)};
    } else {
        cells[0] = QFileInfo(QString::fromStdString(listing.files.front())).fileName().toStdString() + " (unreadable)";
    }
    for (std::size_t c = 0; c < cells.size(); ++c) {
        auto* item = new SortItem(QString::fromStdString(cells[c]), keys[c]);
        item->setData(ListingRole, index);
        item->setToolTip(QString::fromStdString(listing.files.front()));
        list_->setItem(row, static_cast<int>(c), item);
    }
    list_->setSortingEnabled(true);
}

void TripBrowser::clearCharts()
{
    for (QChartView* v : views_) delete v;
    views_.clear();
    chartChoice_->clear();
}

bool TripBrowser::hasTrend() const { return trendView_->chart() && !trendView_->chart()->series().isEmpty(); }

void TripBrowser::offerTrend()
{
    if (hasTrend()) chartChoice_->addItem(trendView_->chart()->title(), QStringLiteral("trend"));
}

void TripBrowser::addChartView(NamedChart&& chart, int position)
{
    auto* view = new QChartView(chart.chart.release());
    view->setObjectName(QStringLiteral("chart_") + chart.name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 280);
    chartGrid_->addWidget(view, position / 2, position % 2);
    views_.push_back(view);
    chartChoice_->addItem(chart.title, chart.name);
}

bool TripBrowser::showRun(int row)
{
    const QTableWidgetItem* item = list_->item(row, 0);
    if (!item) return false;
    const RunListing& listing = listings_.at(static_cast<std::size_t>(item->data(ListingRole).toInt()));
    DiskFileSystem disk;
    std::vector<std::string> files = listing.files;
    RunRead read = readRunAt(disk, files, 0);
    clearCharts();
    QString text;
    if (read.result.run) {
        int position = 0;
        for (NamedChart& c : makeRunCharts(*read.result.run)) addChartView(std::move(c), position++);
        text = QStringLiteral("<table>");
        for (const auto& [label, value] : summaryTable(summarize(*read.result.run)))
            text += QStringLiteral("<tr><td>%1</td><td align=right><b>%2</b></td></tr>")
                        .arg(QString::fromStdString(label), QString::fromStdString(value).toHtmlEscaped());
        text += QStringLiteral("</table>");
    }
    for (const auto& f : listing.files)
        text += QStringLiteral("<br><small>%1</small>").arg(QString::fromStdString(f).toHtmlEscaped());
    const auto& problems = read.result.problems;
    if (!problems.empty()) {
        text += QStringLiteral("<p style='color:#a40'>%1 damaged line(s) skipped:").arg(problems.size());
        for (std::size_t i = 0; i < problems.size() && i < 10; ++i)
            text += QStringLiteral("<br>") + QString::fromStdString(problems[i].text()).toHtmlEscaped();
        text += QStringLiteral("</p>");
    }
    summary_->setText(text);
    offerTrend();
    return read.result.run.has_value();
}

void TripBrowser::showTrend()
{
    DiskFileSystem disk;
    const auto trend = readTripTrend(disk, saveFolder_.toStdString());
    if (!trend) {
        trendTotals_->setText(QStringLiteral("No trip file (TRAJETS.CSV) in %1").arg(saveFolder_));
        return;
    }
    const TripTotals& t = trend->totals;
    trendTotals_->setText(
        QStringLiteral("%1 stored trips. Lifetime: %2 km, %3 L, %4 h driving%5")
            .arg(trend->trips.size())
            .arg(t.TotalDistanceM / 1000, 0, 'f', 1)
            .arg(t.TotalFuelMl / 1000, 0, 'f', 2)
            .arg(t.TotalSeconds / 3600, 0, 'f', 1)
            .arg(t.TotalDistanceM > 0 ? QStringLiteral(", %1 L/100 km").arg(t.TotalFuelMl * 100 / t.TotalDistanceM, 0, 'f', 2)
                                      : QString()));
    trendView_->setChart(makeTrendChart(*trend).chart.release());
    offerTrend();
}

bool TripBrowser::saveChart(int index, const QString& path, QString* error)
{
    const auto count = static_cast<int>(views_.size());
    if (index >= 0 && index < count) return saveChartView(*views_[static_cast<std::size_t>(index)], path, error);
    if (index == count && hasTrend()) return saveChartView(*trendView_, path, error);
    if (error) *error = QStringLiteral("no chart to save");
    return false;
}

void TripBrowser::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder of value logs"), saveFolder_);
    if (!folder.isEmpty()) addPaths({folder});
}

void TripBrowser::chooseFiles()
{
    const QStringList files = QFileDialog::getOpenFileNames(this, QStringLiteral("Value logs"), saveFolder_,
                                                            QStringLiteral("Value logs (*.csv *.CSV)"));
    if (!files.isEmpty()) addPaths(files);
}

void TripBrowser::saveChosenChart()
{
    const int index = chartChoice_->currentIndex();
    if (index < 0) return;
    const QString name = chartChoice_->currentData().toString();
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save chart"),
                                                      QDir(saveFolder_).filePath(name + QStringLiteral(".png")),
                                                      QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"));
    if (path.isEmpty()) return;
    QString error;
    if (!saveChart(index, path, &error)) QMessageBox::warning(this, windowTitle(), error);
}

} // namespace vcm
