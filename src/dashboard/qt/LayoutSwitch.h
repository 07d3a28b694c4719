#pragma once
// The layout the dashboard shows, kept here (never read back from the widgets): Delete
// steps it, and the parts and the dial panel's zoom follow.
#include "dashboard/qt/View.h"
#include "dashboard/DisplayLayout.h"

#include <functional>

namespace vcm {

class LayoutSwitch {
public:
    // zoomChanged is told the dial zoom after each step, so that the needles follow it
    // (and the engine map shows again only at normal size).
    LayoutSwitch(View& view, DialFit fit, std::function<void(double zoom)> zoomChanged);

    void next();
    DashboardLayout layout() const { return layout_; }
    double zoom() const { return zoom_; }
    const DialFit& fit() const { return fit_; }

private:
    View& view_;
    DialFit fit_;
    std::function<void(double)> zoomChanged_;
    DashboardLayout layout_ = DashboardLayout::A;
    double zoom_ = 1.0;
};

} // namespace vcm
