// The trip browser as a driver meets it: from the FILE menu once stopped, over the
// save folder's logs (the window's own and one written earlier), and closed again.
#include "WindowRig.h"
#include "analysis/DriveLog.h"

#include "analysis/qt/RunCharts.h"
#include "analysis/qt/TripBrowser.h"
#include "run/Monitor.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QFileInfo>
#include <QTableWidget>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace vcm;
using namespace vcm::test;

namespace {

QAction* tripsMenu(WindowRig& rig) { return rig.form().findChild<QAction*>(QStringLiteral("m_trips")); }

TEST(TripBrowserWindow, OpensFromTheMenuListsTheRunsAndChartsTheSelectedOne)
{
    WindowRig rig({.tripFile = "C;;;600;20;300\r\nT;04:12:26;09:10:12;5;20;300;50,0;40;0;20;20;20;20\r\n"});
    const std::string folder = rig.form().settings().SavePath;
    // 6000 rows of the 3rd; the window's own log is of the 4th.
    std::ofstream(folder + "/CAN_03122026_0800.csv", std::ios::binary)
        << driveLog({.gps = true, .start = DateTime::fromCivil({2026, 12, 3, 8, 0, 0}), .repeat = 1000});
    rig.tick(30);  // the window's own log
    ASSERT_TRUE(rig.form().monitor().isRunning());
    EXPECT_FALSE(tripsMenu(rig)->isEnabled());
    const std::string distanceShown = rig.text("DistanceValue");

    rig.form().monitor().stopAcquisition();
    ASSERT_TRUE(tripsMenu(rig)->isEnabled());
    tripsMenu(rig)->trigger();
    auto* browser = rig.form().findChild<TripBrowser*>();
    ASSERT_TRUE(browser && browser->isVisible());
    ASSERT_TRUE(runUntil([browser] { return !browser->scanner().running(); }, 20000));
    auto* list = browser->findChild<QTableWidget*>(QStringLiteral("RunList"));
    ASSERT_EQ(list->rowCount(), 2);

    list->sortItems(3, Qt::DescendingOrder);  // by distance: the earlier drive first
    EXPECT_EQ(list->item(0, 0)->text(), QStringLiteral("03/12/2026"));
    EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("300.0"));  // 1000 copies of 300 m
    list->selectRow(0);
    const auto& views = browser->chartViews();
    std::map<QString, std::vector<qsizetype>> points;
    for (QChartView* v : views)
        for (QAbstractSeries* s : v->chart()->series())
            if (auto* xy = qobject_cast<QXYSeries*>(s)) points[v->objectName()].push_back(xy->count());
    ASSERT_EQ(views.size(), 7u);
    for (const char* name : {"chart_speed", "chart_battery", "chart_consumption", "chart_altitude"}) {
        SCOPED_TRACE(name);
        const std::vector<qsizetype>& counts = points[QString::fromLatin1(name)];
        ASSERT_FALSE(counts.empty());
        // 6000 rows down-sampled.
        for (qsizetype n : counts) EXPECT_TRUE(n > 0 && n <= qsizetype(2 * ChartColumns)) << n;
    }
    EXPECT_EQ(points["chart_speed"].size(), 2u);            // speed and engine speed
    EXPECT_EQ(points["chart_engine-map"].size(), 5u);       // five shades of time spent
    EXPECT_EQ(points["chart_track"], std::vector<qsizetype>{2000});  // every third of 6000 fixes

    const QString png = QString::fromStdString(folder + "/speed.png"), svg = QString::fromStdString(folder + "/trend.svg");
    QString error;
    EXPECT_TRUE(browser->saveChart(0, png, &error)) << error.toStdString();
    EXPECT_TRUE(browser->saveChart(7, svg, &error)) << error.toStdString();  // the trip trend after the run's charts
    EXPECT_GT(QFileInfo(png).size(), 1000);
    EXPECT_NE(readFile(svg.toStdString()).find("<svg"), std::string::npos);

    browser->close();
    QApplication::processEvents();
    EXPECT_TRUE(rig.form().isVisible());
    EXPECT_EQ(rig.text("DistanceValue"), distanceShown);
    rig.form().monitor().startAcquisition();
    EXPECT_FALSE(tripsMenu(rig)->isEnabled());
}

} // namespace
