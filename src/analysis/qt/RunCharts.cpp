#include "RunCharts.h"

#include "analysis/Downsample.h"
#include "analysis/RunSummary.h"

#include <QBrush>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPen>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

constexpr int DensityLevels = 5;

QList<QPointF> toPoints(const std::vector<ChartPoint>& points)
{
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& p : points) out.append(QPointF(p.x, p.y));
    return out;
}

QLineSeries* lineSeries(const QString& name, const std::vector<double>& x, const std::vector<double>& y)
{
    auto* s = new QLineSeries;
    s->setName(name);
    s->replace(toPoints(peakKeepingDownsample(x, y, ChartColumns)));
    return s;
}

QValueAxis* valueAxis(const QString& title, Qt::Alignment side, QChart& chart)
{
    auto* a = new QValueAxis;
    a->setTitleText(title);
    chart.addAxis(a, side);
    return a;
}

void attach(QChart& chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y)
{
    chart.addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
}

// Round tick values ("0 25 50 75 100" rather than "0 27.4 54.8 ...") on the vertical
// axes once the series are in; time keeps its exact span.
void niceAxes(QChart& chart, const std::vector<double>* minutes = nullptr)
{
    if (minutes && !minutes->empty())
        for (QAbstractAxis* axis : chart.axes(Qt::Horizontal)) axis->setRange(0.0, std::max(minutes->back(), 0.1));
    for (QAbstractAxis* axis : chart.axes(Qt::Vertical))
        if (auto* a = qobject_cast<QValueAxis*>(axis)) {
            if (!(a->max() - a->min() > 1e-9)) a->setRange(a->min() - 1, a->max() + 1);  // a flat line
            a->applyNiceNumbers();
            a->setLabelFormat(QStringLiteral("%g"));
        }
}

std::unique_ptr<QChart> newChart(const QString& title)
{
    auto c = std::make_unique<QChart>();
    c->setTitle(title);
    c->legend()->setAlignment(Qt::AlignBottom);
    c->setMargins(QMargins(4, 4, 4, 4));
    return c;
}

// Two series over the run's time (minutes), each on its own vertical axis.
NamedChart twoSeriesChart(const QString& name, const QString& title, const std::vector<double>& minutes,
                          const QString& leftName, const std::vector<double>& left, const QString& rightName,
                          const std::vector<double>& right)
{
    auto chart = newChart(title);
    auto* x = valueAxis(QStringLiteral("min"), Qt::AlignBottom, *chart);
    auto* yl = valueAxis(leftName, Qt::AlignLeft, *chart);
    auto* yr = valueAxis(rightName, Qt::AlignRight, *chart);
    attach(*chart, lineSeries(leftName, minutes, left), x, yl);
    attach(*chart, lineSeries(rightName, minutes, right), x, yr);
    niceAxes(*chart, &minutes);
    return {name, title, std::move(chart)};
}

NamedChart consumptionChart(const RunData& run, const std::vector<double>& minutes)
{
    auto chart = newChart(QStringLiteral("Consumption"));
    auto* x = valueAxis(QStringLiteral("min"), Qt::AlignBottom, *chart);
    auto* y = valueAxis(QStringLiteral("L/100 km"), Qt::AlignLeft, *chart);
    std::vector<double> instant = instantConsumption(run);
    for (double& v : instant) v = std::min(v, 99.9);  // standing start: as the dashboard caps it
    attach(*chart, lineSeries(QStringLiteral("instant"), minutes, instant), x, y);
    attach(*chart, lineSeries(QStringLiteral("running average"), minutes, runningConsumption(run)), x, y);
    y->setMin(0);
    niceAxes(*chart, &minutes);
    return {QStringLiteral("consumption"), chart->title(), std::move(chart)};
}

// Time spent per cell as squares in five shades, darker for more time.
NamedChart engineMapChart(const RunData& run)
{
    const DensityGrid g = engineMapDensity(run);
    auto chart = newChart(QStringLiteral("Engine operating points (time spent)"));
    auto* x = valueAxis(QStringLiteral("rpm"), Qt::AlignBottom, *chart);
    auto* y = valueAxis(QStringLiteral("injector"), Qt::AlignLeft, *chart);
    x->setRange(0, g.rpmMax);
    y->setRange(0, g.injectorMax);
    x->setTickCount(6);
    x->setLabelFormat(QStringLiteral("%g"));
    niceAxes(*chart);
    const double top = g.maxSeconds();
    std::array<QScatterSeries*, DensityLevels> levels{};
    for (int l = 0; l < DensityLevels; ++l) {
        auto* s = levels[static_cast<std::size_t>(l)] = new QScatterSeries;
        s->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        s->setMarkerSize(11);
        const int shade = 220 - l * 50;
        s->setColor(QColor(255, shade, std::max(0, shade - 120)));
        s->setBorderColor(Qt::transparent);
        s->setName(QStringLiteral("%1-%2 %").arg(l * 100 / DensityLevels).arg((l + 1) * 100 / DensityLevels));
    }
    for (int c = 0; c < g.columns; ++c)
        for (int r = 0; r < g.rows; ++r) {
            const double sec = g.at(c, r);
            if (sec <= 0) continue;
            const int l = std::min(DensityLevels - 1, static_cast<int>(sec / top * DensityLevels));
            levels[static_cast<std::size_t>(l)]->append((c + 0.5) * g.rpmMax / g.columns,
                                                        (r + 0.5) * g.injectorMax / g.rows);
        }
    for (auto* s : levels) attach(*chart, s, x, y);
    // Squares as large as a cell of the grid, whatever the size of the plot.
    const double cellRpm = g.rpmMax / g.columns, cellInjector = g.injectorMax / g.rows;
    QObject::connect(chart.get(), &QChart::plotAreaChanged, chart.get(), [levels, x, y, cellRpm, cellInjector](const QRectF& area) {
        const double w = area.width() * cellRpm / (x->max() - x->min());
        const double h = area.height() * cellInjector / (y->max() - y->min());
        for (auto* s : levels) s->setMarkerSize(std::max(2.0, std::min(w, h)));
    });
    return {QStringLiteral("engine-map"), chart->title(), std::move(chart)};
}

NamedChart modesChart(const RunData& run)
{
    const RunSummary s = summarize(run);
    auto chart = newChart(QStringLiteral("Driving modes (share of time)"));
    auto* pie = new QPieSeries;
    static const std::array<QColor, DriveModeCount> colours{QColor(220, 90, 40), QColor(40, 150, 230),
                                                            QColor(60, 180, 80), QColor(200, 200, 60),
                                                            QColor(150, 150, 150)};
    for (std::size_t m = 0; m < DriveModeCount; ++m) {
        const double share = s.modeShare(static_cast<DriveMode>(m));
        auto* slice = pie->append(QStringLiteral("%1 %2 %").arg(QString::fromLatin1(driveModeName(static_cast<DriveMode>(m))))
                                      .arg(share * 100, 0, 'f', 1),
                                  share);
        slice->setColor(colours[m]);
    }
    chart->addSeries(pie);
    chart->legend()->setAlignment(Qt::AlignRight);
    return {QStringLiteral("modes"), chart->title(), std::move(chart)};
}

NamedChart altitudeChart(const RunData& run, const std::vector<double>& minutes)
{
    auto chart = newChart(QStringLiteral("Altitude"));
    auto* x = valueAxis(QStringLiteral("min"), Qt::AlignBottom, *chart);
    auto* y = valueAxis(QStringLiteral("m"), Qt::AlignLeft, *chart);
    attach(*chart, lineSeries(QStringLiteral("GPS altitude"), minutes, run.altitudeM), x, y);
    niceAxes(*chart, &minutes);
    return {QStringLiteral("altitude"), chart->title(), std::move(chart)};
}

// The track keeps every n-th fix: its shape, not its peaks, matters.
NamedChart trackChart(const RunData& run)
{
    auto chart = newChart(QStringLiteral("Track"));
    auto* x = valueAxis(QStringLiteral("longitude"), Qt::AlignBottom, *chart);
    auto* y = valueAxis(QStringLiteral("latitude"), Qt::AlignLeft, *chart);
    auto* s = new QLineSeries;
    s->setName(QStringLiteral("GPS track"));
    const std::size_t step = std::max<std::size_t>(1, (run.latitude.size() + 2 * ChartColumns - 1) / (2 * ChartColumns));
    QList<QPointF> points;
    for (std::size_t i = 0; i < run.latitude.size(); i += step)
        if (!std::isnan(run.latitude[i]) && !std::isnan(run.longitude[i]) &&
            (run.latitude[i] != 0 || run.longitude[i] != 0))
            points.append(QPointF(run.longitude[i], run.latitude[i]));
    s->replace(points);
    attach(*chart, s, x, y);
    return {QStringLiteral("track"), chart->title(), std::move(chart)};
}

} // namespace

std::vector<NamedChart> makeRunCharts(const RunData& run)
{
    std::vector<double> minutes(run.t);
    for (double& m : minutes) m /= 60;
    std::vector<NamedChart> charts;
    charts.push_back(twoSeriesChart(QStringLiteral("speed"), QStringLiteral("Speed and engine speed"), minutes,
                                    QStringLiteral("km/h"), run.speedKmh, QStringLiteral("rpm"), run.rpm));
    charts.push_back(twoSeriesChart(QStringLiteral("battery"), QStringLiteral("State of charge and battery power"),
                                    minutes, QStringLiteral("SOC %"), run.socPercent, QStringLiteral("kW"),
                                    batteryPowerKw(run)));
    charts.push_back(consumptionChart(run, minutes));
    charts.push_back(engineMapChart(run));
    charts.push_back(modesChart(run));
    if (run.layout.gps) {
        charts.push_back(altitudeChart(run, minutes));
        charts.push_back(trackChart(run));
    }
    return charts;
}

NamedChart makeTrendChart(const TripTrend& trend)
{
    auto chart = newChart(QStringLiteral("Trips: consumption and distance"));
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("dd/MM/yy"));
    chart->addAxis(x, Qt::AlignBottom);
    auto* yl = valueAxis(QStringLiteral("L/100 km"), Qt::AlignLeft, *chart);
    auto* yr = valueAxis(QStringLiteral("km"), Qt::AlignRight, *chart);
    auto* consumption = new QLineSeries;
    consumption->setName(QStringLiteral("L/100 km"));
    consumption->setPointsVisible(true);
    auto* distance = new QScatterSeries;
    distance->setName(QStringLiteral("distance (km)"));
    distance->setMarkerSize(7);
    for (const TrendPoint& p : trend.trips) {
        const CivilTime c = p.when.civil();
        const double ms = static_cast<double>(
            QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second)).toMSecsSinceEpoch());
        if (p.litresPer100Km) consumption->append(ms, *p.litresPer100Km);
        distance->append(ms, p.distanceKm);
    }
    attach(*chart, consumption, x, yl);
    attach(*chart, distance, x, yr);
    yl->setMin(0);
    yr->setMin(0);
    niceAxes(*chart);
    return {QStringLiteral("trend"), chart->title(), std::move(chart)};
}

} // namespace vcm
