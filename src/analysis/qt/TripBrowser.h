#pragma once
// The trip browser: the runs of the save folder (plus folders and files the user adds)
// in a sortable list, read in the background; the selected run's charts and summary;
// the trip file's trend; any chart saved as PNG or SVG. It reads files only, so the
// dashboard is as it was when the browser closes.
#include "RunScanner.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QChartView;
class QComboBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QTableWidget;

namespace vcm {

class TripBrowser : public QDialog {
    Q_OBJECT
public:
    // Lists the value logs of saveFolder and shows the trend of its trip file.
    explicit TripBrowser(const QString& saveFolder, QWidget* parent = nullptr);
    ~TripBrowser() override;

    // Adds folders (their value logs) and files to the list and reads them again.
    void addPaths(const QStringList& paths);
    RunScanner& scanner() { return scanner_; }

    // Shows the run of a list row (as sorted) on the charts; false when unreadable.
    bool showRun(int row);
    // The selected run's charts.
    const std::vector<QChartView*>& chartViews() const { return views_; }
    // Saves chart index of the run (the trip-file trend after them) as PNG or SVG.
    bool saveChart(int index, const QString& path, QString* error);

private:
    void addListing(const RunListing& listing);
    void showTrend();
    void clearCharts();
    bool hasTrend() const;
    void offerTrend();
    void addChartView(struct NamedChart&& chart, int position);
    void chooseFolder();
    void chooseFiles();
    void saveChosenChart();

    QString saveFolder_;
    std::vector<std::string> paths_;
    std::vector<RunListing> listings_;
    RunScanner scanner_;
    QTableWidget* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* trendTotals_ = nullptr;
    QGridLayout* chartGrid_ = nullptr;
    QComboBox* chartChoice_ = nullptr;
    QChartView* trendView_ = nullptr;
    std::vector<QChartView*> views_;  // the run's charts
};

} // namespace vcm
