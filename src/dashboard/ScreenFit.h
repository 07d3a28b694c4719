#pragma once
// Fitting the dashboard to the screen at start-up, from the screen's resolution in pixels
// (15 twips to a pixel).
//
// Dial zoom limits: the largest factors at which the dial panel alone (DialFitScale) or
// the panel with Frame1 to its right (DialFitScaleFramed) still fits the screen.
// Example, 1280 x 1024: width (19200 - 60) / 8370 = 2.287, framed (19200 - 60 - 2760)
// / 8370 = 1.957, height (15360 - 60) / 4890 = 3.129 -> 2.287 and 1.957.
//
// Histogram: the grid step dy follows the screen height (150 up to 480 px, 450 from
// 768 px, the designed 300 otherwise) and the bar width dx the screen width (384 up to
// 800 px, 560 from 1180 px, the designed 480 otherwise); the frame grows or shrinks with
// the plot.
#include "common/View.h"
#include "logging/Histogram.h"

#include <array>
#include <optional>

namespace vcm {

struct DialFit {
    double scale = 1.0;       // DialFitScale
    double framedScale = 1.0; // DialFitScaleFramed
};

// reservedHeightPx: the window's own title and menu bars and what stays under the panel;
// reservedWidthPx: the window's borders and right margin; the panel can use neither.
DialFit dialFit(int screenWidthPx, int screenHeightPx, int reservedHeightPx = 0, int reservedWidthPx = 0);

struct HistogramSteps {
    double dy = 300; // vertical grid step, twips (ten steps are full scale)
    double dx = 480; // bar width, twips
};
HistogramSteps histogramSteps(int screenWidthPx, int screenHeightPx);

// Geometry of the histogram's controls in twips of HistoPicture (the frame itself in
// twips of the form).
struct HistogramGeometry {
    Rect picture;                              // HistoPicture
    std::array<Rect, 30> bars;                 // Histogr 0..29, height 0 on the bottom line
    std::array<Rect, 11> gridH;                // Histolineh 0..10, 0 at the top
    std::array<Rect, 7> gridV;                 // Histolinev 0..6, one every five bars
    std::array<std::optional<Rect>, 21> labels; // HistogrLabel 0..20 (12 to 14 unused)
    // The plot as the histogram model needs it: left of bar 0, bar width, top and full height.
    double plotLeft = 0, barWidth = 0, plotTop = 0, plotHeight = 0;
};

HistogramGeometry fitHistogram(int screenWidthPx, int screenHeightPx);
// The plot of a fitted histogram as the histogram model places its bars.
inline HistogramLayout plotLayout(const HistogramGeometry& g) { return {g.plotLeft, g.barWidth, g.plotTop, g.plotHeight}; }
void applyHistogramGeometry(View& view, const HistogramGeometry& geometry);

} // namespace vcm
