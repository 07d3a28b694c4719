#include "EngineMapDensity.h"

#include "RunSummary.h"

#include <algorithm>
#include <cmath>

namespace vcm {

double DensityGrid::maxSeconds() const
{
    return seconds.empty() ? 0 : *std::max_element(seconds.begin(), seconds.end());
}

DensityGrid engineMapDensity(const RunData& run, int columns, int rows)
{
    DensityGrid g;
    g.columns = columns;
    g.rows = rows;
    g.seconds.assign(static_cast<std::size_t>(columns * rows), 0.0);
    double rpmTop = 5000, injTop = 1;
    for (std::size_t i = 0; i < run.rows(); ++i) {
        if (run.rpm[i] <= 0) continue;
        rpmTop = std::max(rpmTop, run.rpm[i]);
        injTop = std::max(injTop, run.injector[i]);
    }
    g.rpmMax = std::ceil(rpmTop / 500) * 500;
    g.injectorMax = std::ceil(injTop / 50) * 50;
    const std::vector<double> w = rowSeconds(run);
    for (std::size_t i = 0; i < run.rows(); ++i) {
        if (run.rpm[i] <= 0 || run.injector[i] < 0) continue;
        const int c = std::min(columns - 1, static_cast<int>(run.rpm[i] / g.rpmMax * columns));
        const int r = std::min(rows - 1, static_cast<int>(run.injector[i] / g.injectorMax * rows));
        g.seconds[static_cast<std::size_t>(c * rows + r)] += w[i];
    }
    return g;
}

} // namespace vcm
