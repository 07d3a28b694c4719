#pragma once
// Fewer points for a chart without losing peaks: the x range is cut into columns (one
// per pixel column of the plot, or so), and each column keeps its lowest and its highest
// point, in the order they occur. A series of any length becomes at most 2 x columns
// points, and every local maximum or minimum wider than a column stays visible.
// Points with a NaN y are left out.
#include <cstddef>
#include <vector>

namespace vcm {

struct ChartPoint {
    double x = 0, y = 0;
};

// x ascending, same length as y.
std::vector<ChartPoint> peakKeepingDownsample(const std::vector<double>& x, const std::vector<double>& y,
                                              std::size_t columns);

} // namespace vcm
