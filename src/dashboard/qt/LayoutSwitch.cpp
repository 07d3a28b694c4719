#include "dashboard/qt/LayoutSwitch.h"

#include "dashboard/qt/DialLayout.h"

#include <utility>

namespace vcm {

LayoutSwitch::LayoutSwitch(View& view, DialFit fit, std::function<void(double zoom)> zoomChanged)
    : view_(view), fit_(fit), zoomChanged_(std::move(zoomChanged))
{
}

void LayoutSwitch::next()
{
    layout_ = nextLayout(layout_);
    const LayoutParts parts = partsOf(layout_, fit_);
    view_.setVisible({"HistoPicture"}, parts.histogram);
    view_.setVisible({"VracFrame"}, parts.vracFrame);
    view_.setVisible({"Frame1"}, parts.frame1);
    view_.setVisible({"CartoBmp"}, parts.engineMap);
    if (parts.dialZoom != zoom_) {
        // Zooming is relative: back to the designed size first.
        resizeDialPanel(view_, 1 / zoom_);
        zoom_ = parts.dialZoom;
        resizeDialPanel(view_, zoom_);
    }
    if (parts.frame1) {
        const Rect dials = view_.geometry({"CadransPic"});
        Rect frame = view_.geometry({"Frame1"});
        frame.left = dials.left + dials.width;
        view_.setGeometry({"Frame1"}, frame);
    }
    if (zoomChanged_) zoomChanged_(zoom_);
}

} // namespace vcm
