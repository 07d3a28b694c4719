#include "dashboard/DisplayLayout.h"

namespace vcm {

DashboardLayout nextLayout(DashboardLayout layout)
{
    switch (layout) {
    case DashboardLayout::A: return DashboardLayout::B;
    case DashboardLayout::B: return DashboardLayout::C;
    case DashboardLayout::C: return DashboardLayout::D;
    case DashboardLayout::D: break;
    }
    return DashboardLayout::A;
}

LayoutParts partsOf(DashboardLayout layout, const DialFit& fit)
{
    switch (layout) {
    case DashboardLayout::A: return {true, true, true, true, 1.0};
    case DashboardLayout::B: return {false, true, true, true, 1.0};
    case DashboardLayout::C: return {false, false, true, false, fit.framedScale};
    case DashboardLayout::D: break;
    }
    return {false, false, false, false, fit.scale};
}

} // namespace vcm
