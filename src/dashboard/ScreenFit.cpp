#include "dashboard/ScreenFit.h"

#include "dashboard/DialLayout.h"

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

constexpr double TwipsPerPixel = 15;

// A factor from screen metrics that failed (zero or negative size) would shrink the panel
// to nothing, and undoing it would divide by zero: keep the normal size instead.
double usableFactor(double f) { return std::isfinite(f) && f > 0 ? f : 1.0; }

} // namespace

DialFit dialFit(int screenWidthPx, int screenHeightPx, int reservedHeightPx, int reservedWidthPx)
{
    const Rect panel = designOf("CadransPic").rect;
    const double frameWidth = designOf("Frame1").rect.width;
    const double screenWidth = TwipsPerPixel * (screenWidthPx - reservedWidthPx);
    const double h1 = (screenWidth - panel.left) / panel.width;
    const double h2 = (screenWidth - panel.left - frameWidth) / panel.width;
    const double v = (TwipsPerPixel * (screenHeightPx - reservedHeightPx) - panel.top) / panel.height;
    return {usableFactor(std::min(h1, v)), usableFactor(std::min(h2, v))};
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

HistogramGeometry fitHistogram(int screenWidthPx, int screenHeightPx)
{
    const auto [dy, dx] = histogramSteps(screenWidthPx, screenHeightPx);
    const double designedDx = designOf("Histogr", 0).rect.width;
    const double designedDy = designOf("Histolineh", 1).rect.top - designOf("Histolineh", 0).rect.top;

    HistogramGeometry g;
    g.picture = designOf("HistoPicture").rect;
    for (int i = 0; i < 30; ++i) g.bars[i] = designOf("Histogr", i).rect;
    for (int i = 0; i <= 10; ++i) g.gridH[i] = designOf("Histolineh", i).rect;
    for (int i = 0; i <= 6; ++i) g.gridV[i] = designOf("Histolinev", i).rect;
    for (int i = 0; i <= 20; ++i)
        if (i < 12 || i > 14) g.labels[i] = designOf("HistogrLabel", i).rect;

    // Vertical: ten grid steps of dy below the plot's top T; the frame follows the plot.
    const double t = g.gridV[0].top;
    for (int i = 0; i <= 10; ++i) g.gridH[i].top = t + dy * i;
    for (auto& line : g.gridV) line.height = 10 * dy;
    for (auto& bar : g.bars) bar.top = t + 10 * dy;
    for (int i = 0; i <= 3; ++i) {
        g.labels[i]->top = t + 2 * dy * (i + 1) - 75;
        g.labels[i + 17]->top = g.labels[i]->top;
    }
    for (int i = 4; i <= 10; ++i) g.labels[i]->top += 10 * (dy - designedDy);
    g.picture.height += 10 * (dy - designedDy);

    // Horizontal: 30 bars of dx, a vertical line every five bars.
    const double s = 30 * (designedDx - dx);
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

void applyHistogramGeometry(View& view, const HistogramGeometry& g)
{
    view.setGeometry({"HistoPicture"}, g.picture);
    for (int i = 0; i < 30; ++i) view.setGeometry({"Histogr", i}, g.bars[i]);
    for (int i = 0; i <= 10; ++i) view.setGeometry({"Histolineh", i}, g.gridH[i]);
    for (int i = 0; i <= 6; ++i) view.setGeometry({"Histolinev", i}, g.gridV[i]);
    for (int i = 0; i <= 20; ++i)
        if (g.labels[i]) view.setGeometry({"HistogrLabel", i}, *g.labels[i]);
}

} // namespace vcm
