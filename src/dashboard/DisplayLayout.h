#pragma once
// The four dashboard layouts, stepped by Delete A -> B -> C -> D -> A, and what each
// shows at which dial zoom:
//
//   layout  histogram  "En Vrac" frame  trip figures        engine map  dial zoom
//   A       shown      shown            right of the dials  shown       1
//   B       hidden     shown            shown               shown       1
//   C       hidden     hidden           right of the dials  hidden      DialFitScaleFramed
//   D       hidden     hidden           hidden              hidden      DialFitScale
#include "dashboard/ScreenFit.h"

namespace vcm {

enum class DashboardLayout { A, B, C, D };

DashboardLayout nextLayout(DashboardLayout layout);

struct LayoutParts {
    bool histogram = true;
    bool vracFrame = true;
    bool frame1 = true; // always right of the dials when shown
    bool engineMap = true;
    double dialZoom = 1.0;
};

LayoutParts partsOf(DashboardLayout layout, const DialFit& fit);

} // namespace vcm
