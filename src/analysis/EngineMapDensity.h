#pragma once
// Where the engine ran: time spent in each cell of the engine map (engine speed x
// injector value), counting the rows with the engine turning.
#include "ValueLog.h"

#include <vector>

namespace vcm {

struct DensityGrid {
    int columns = 0, rows = 0;          // engine speed across, injector up
    double rpmMax = 0, injectorMax = 0; // upper edges; both start at 0
    std::vector<double> seconds;        // columns x rows, column-major: [c * rows + r]
    double at(int c, int r) const { return seconds[static_cast<std::size_t>(c * rows + r)]; }
    double maxSeconds() const;
};

// The grid covers 0..5000 rpm (more when the run went higher) and 0..the run's highest
// injector value, rounded up.
DensityGrid engineMapDensity(const RunData& run, int columns = 25, int rows = 20);

} // namespace vcm
