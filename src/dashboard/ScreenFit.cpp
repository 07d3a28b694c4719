#include "dashboard/ScreenFit.h"

#include "common/Format.h"

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

constexpr double TwipsPerPixel = 15;

// The histogram at its designed steps. Narrow margins: at 800 px the 30 bars of 384 take
// 768 px of the width.
constexpr double PlotLeft = 210, PlotTop = 300, BarWidth = 480, GridStep = 300;
constexpr double PlotWidth = 30 * BarWidth, PlotHeight = 10 * GridStep;
constexpr double ScaleLabelWidth = 195, ScaleLabelHeight = 180; // "10" still fits the form scaled to 800 px
constexpr double AxisLabelTop = PlotTop + PlotHeight + 30;
constexpr double RightScaleGap = 90; // keeps the right scale figures clear of the newest bar

// A factor from screen metrics that failed (zero or negative size) would shrink the panel
// to nothing, and undoing it would divide by zero: keep the normal size instead.
double usableFactor(double f) { return std::isfinite(f) && f > 0 ? f : 1.0; }

} // namespace

DialFit dialFit(int screenWidthPx, int screenHeightPx, int reservedHeightPx, int reservedWidthPx)
{
    const Rect panel = design::DialPanel;
    const double screenWidth = TwipsPerPixel * (screenWidthPx - reservedWidthPx);
    const double h1 = (screenWidth - panel.left) / panel.width;
    const double h2 = (screenWidth - panel.left - design::Frame1Width) / panel.width;
    const double v = (TwipsPerPixel * (screenHeightPx - reservedHeightPx) - panel.top) / panel.height;
    return {usableFactor(std::min(h1, v)), usableFactor(std::min(h2, v))};
}

int zoomedNeedleWidth(int width, double factor)
{
    return std::max(static_cast<int>(roundHalfEven(width * factor)), 1);
}

HistogramSteps histogramSteps(int screenWidthPx, int screenHeightPx)
{
    HistogramSteps s;
    if (screenHeightPx > 360 && screenHeightPx <= 480) s.dy = 150;
    else if (screenHeightPx >= 768) s.dy = 450;
    if (screenWidthPx <= 800) s.dx = 384;
    else if (screenWidthPx >= 1180) s.dx = 560;
    return s;
}

HistogramGeometry designedHistogram()
{
    HistogramGeometry g;
    const double rightScale = PlotLeft + PlotWidth + RightScaleGap;
    g.picture = {0, 2 * design::Margin + design::MapSize, rightScale + ScaleLabelWidth, AxisLabelTop + 370};
    for (int i = 0; i < 30; ++i) g.bars[i] = {PlotLeft + i * BarWidth, PlotTop + PlotHeight, BarWidth, 0};
    for (int i = 0; i <= 10; ++i) g.gridH[i] = {PlotLeft, PlotTop + GridStep * i, PlotWidth, 15};
    for (int i = 0; i <= 6; ++i) g.gridV[i] = {PlotLeft + 5 * BarWidth * i, PlotTop, 15, PlotHeight};
    auto scaleLabel = [](double left, double top) { return Rect{left, top, ScaleLabelWidth, ScaleLabelHeight}; };
    for (int i = 0; i <= 3; ++i) {
        const double top = PlotTop + 2 * GridStep * (i + 1) - 75;
        g.labels[i] = scaleLabel(15, top);
        g.labels[i + 17] = scaleLabel(rightScale, top);
    }
    g.labels[11] = scaleLabel(15, PlotTop - 75);
    g.labels[16] = scaleLabel(rightScale, PlotTop - 75);
    for (int i = 0; i <= 5; ++i) g.labels[4 + i] = scaleLabel(PlotLeft + 5 * BarWidth * i - 75, AxisLabelTop);
    g.labels[10] = Rect{PlotLeft + PlotWidth - 280, AxisLabelTop, 420, ScaleLabelHeight};
    g.labels[15] = Rect{PlotLeft, 30, 1600, 240};
    g.plotLeft = PlotLeft;
    g.barWidth = BarWidth;
    g.plotTop = PlotTop;
    g.plotHeight = PlotHeight;
    return g;
}

HistogramGeometry fitHistogram(int screenWidthPx, int screenHeightPx)
{
    const auto [dy, dx] = histogramSteps(screenWidthPx, screenHeightPx);
    HistogramGeometry g = designedHistogram();

    // Vertical: ten grid steps of dy below the plot's top T; the frame follows the plot.
    const double t = g.gridV[0].top;
    for (int i = 0; i <= 10; ++i) g.gridH[i].top = t + dy * i;
    for (auto& line : g.gridV) line.height = 10 * dy;
    for (auto& bar : g.bars) bar.top = t + 10 * dy;
    for (int i = 0; i <= 3; ++i) {
        g.labels[i]->top = t + 2 * dy * (i + 1) - 75;
        g.labels[i + 17]->top = g.labels[i]->top;
    }
    for (int i = 4; i <= 10; ++i) g.labels[i]->top += 10 * (dy - GridStep);
    g.picture.height += 10 * (dy - GridStep);

    // Horizontal: 30 bars of dx, a vertical line every five bars.
    const double s = 30 * (BarWidth - dx);
    g.picture.width -= s;
    for (int i = 0; i < 30; ++i) {
        if (i > 0) g.bars[i].left = g.bars[i - 1].left + dx;
        g.bars[i].width = dx;
    }
    for (int i = 1; i <= 6; ++i) {
        g.gridV[i].left = g.gridV[0].left + 5 * dx * i;
        g.labels[i + 4]->left = g.gridV[i].left - (i < 6 ? 75 : 280);
    }
    for (auto& line : g.gridH) line.width -= s;
    for (int i = 0; i <= 4; ++i) g.labels[i + 16]->left -= s;

    g.plotLeft = g.bars[0].left;
    g.barWidth = dx;
    g.plotTop = t;
    g.plotHeight = 10 * dy;
    return g;
}

} // namespace vcm
