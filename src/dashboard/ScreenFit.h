#pragma once
// The dashboard's geometry as designed and as fitted to the screen at start-up, from the
// screen's resolution in pixels (15 twips to a pixel).
//
// Dial zoom limits: the largest factors at which the dial panel alone (DialFitScale) or
// the panel with the trip figures to its right (DialFitScaleFramed) still fits the screen.
// Example, 1280 x 1024: width (19200 - 60) / 8370 = 2.287, framed (19200 - 60 - 2760)
// / 8370 = 1.957, height (15360 - 60) / 4890 = 3.129 -> 2.287 and 1.957.
//
// Histogram: the grid step dy follows the screen height (150 up to 480 px, 450 from
// 768 px, the designed 300 otherwise) and the bar width dx the screen width (384 up to
// 800 px, 560 from 1180 px, the designed 480 otherwise); the frame grows or shrinks with
// the plot.
#include "common/Shapes.h"
#include "logging/Histogram.h"

#include <array>
#include <optional>

namespace vcm {

// The parts of the form at normal size, twips: the dial panel, the two frames right of
// it and the engine map right of them; the histogram fills the width below.
namespace design {
inline constexpr double Margin = 60;
inline constexpr Rect DialPanel{Margin, Margin, 8370, 4890}; // 558 x 326 px
inline constexpr double MapSize = 5250;                     // 350 x 350 px
inline constexpr double Frame1Width = 2760, VracFrameWidth = 2580;
} // namespace design

struct DialFit {
    double scale = 1.0;       // DialFitScale
    double framedScale = 1.0; // DialFitScaleFramed
};

// reservedHeightPx: the window's own title and menu bars and what stays under the panel;
// reservedWidthPx: the window's borders and right margin; the panel can use neither.
DialFit dialFit(int screenWidthPx, int screenHeightPx, int reservedHeightPx = 0, int reservedWidthPx = 0);

// A needle's pen width after a zoom by factor: rounded, halves to even, and never below
// one pixel (a zero width could not grow back).
int zoomedNeedleWidth(int width, double factor);

struct HistogramSteps {
    double dy = 300; // vertical grid step, twips (ten steps are full scale)
    double dx = 480; // bar width, twips
};
HistogramSteps histogramSteps(int screenWidthPx, int screenHeightPx);

// The histogram's parts in twips of its frame (the frame itself in twips of the form):
// 30 bars standing on the bottom grid line, grid lines every tenth of full scale and
// every five bars, scale figures left and right, axis figures below.
struct HistogramGeometry {
    Rect picture;                               // the frame
    std::array<Rect, 30> bars;                  // height 0 on the bottom line
    std::array<Rect, 11> gridH;                 // 0 at the top
    std::array<Rect, 7> gridV;                  // one every five bars
    std::array<std::optional<Rect>, 21> labels; // 0-3, 11: left scale; 4-10: axis; 15: unit; 16-20: right scale
    // The plot as the histogram model needs it: left of bar 0, bar width, top and full height.
    double plotLeft = 0, barWidth = 0, plotTop = 0, plotHeight = 0;
};

// At the designed steps: bars 480 wide, grid lines 300 apart.
HistogramGeometry designedHistogram();
HistogramGeometry fitHistogram(int screenWidthPx, int screenHeightPx);
// The plot of a fitted histogram as the histogram model places its bars.
inline HistogramLayout plotLayout(const HistogramGeometry& g) { return {g.plotLeft, g.barWidth, g.plotTop, g.plotHeight}; }

} // namespace vcm
