#include "Downsample.h"

#include <algorithm>
#include <cmath>

namespace vcm {

std::vector<ChartPoint> peakKeepingDownsample(const std::vector<double>& x, const std::vector<double>& y,
                                              std::size_t columns)
{
    std::vector<ChartPoint> out;
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0 || columns == 0) return out;
    out.reserve(std::min(n, 2 * columns));
    if (n <= 2 * columns) {
        for (std::size_t i = 0; i < n; ++i)
            if (!std::isnan(y[i])) out.push_back({x[i], y[i]});
        return out;
    }
    const double x0 = x.front(), span = x.back() - x.front();
    const double perX = span > 0 ? static_cast<double>(columns) / span : 0;
    auto columnOf = [&](double xi) { return std::min(columns - 1, static_cast<std::size_t>((xi - x0) * perX)); };
    std::size_t i = 0;
    while (i < n) {
        const std::size_t column = columnOf(x[i]);
        std::size_t lo = n, hi = n;
        for (; i < n; ++i) {
            if (columnOf(x[i]) != column) break;
            if (std::isnan(y[i])) continue;
            if (lo == n || y[i] < y[lo]) lo = i;
            if (hi == n || y[i] > y[hi]) hi = i;
        }
        if (lo == n) continue;
        const std::size_t first = std::min(lo, hi), second = std::max(lo, hi);
        out.push_back({x[first], y[first]});
        if (second != first) out.push_back({x[second], y[second]});
    }
    return out;
}

} // namespace vcm
