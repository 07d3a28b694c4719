#pragma once
// The charts of one run and of the trip file, built from the core's series with Qt
// Charts. Every line series is down-sampled to keep peaks (at most 2 x ChartColumns
// points), so drawing costs the same for a ten-minute and a five-hour run.
#include "analysis/EngineMapDensity.h"
#include "analysis/TripTrend.h"
#include "analysis/ValueLog.h"

#include <QChart>
#include <QString>

#include <memory>
#include <vector>

namespace vcm {

inline constexpr std::size_t ChartColumns = 1200;

struct NamedChart {
    QString name;   // object name of the view and file name of the saved picture
    QString title;
    std::unique_ptr<QChart> chart;
};

// Speed and engine speed, battery, consumption, engine map, drive modes, and with GPS
// columns the altitude profile and the track.
std::vector<NamedChart> makeRunCharts(const RunData& run);
NamedChart makeTrendChart(const TripTrend& trend);

} // namespace vcm
