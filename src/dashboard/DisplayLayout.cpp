#include "dashboard/DisplayLayout.h"

#include "dashboard/DialLayout.h"

namespace vcm {

DisplayLayout::DisplayLayout(View& view, DashboardModel& panels, HistogramModel& histogram, DialFit fit)
    : view_(view), panels_(panels), histogram_(histogram), fit_(fit)
{
}

void DisplayLayout::keyDown(int& keyCode)
{
    if (keyCode == KeySpace) {
        nextHistogramView();
    } else if (keyCode == KeyDelete) {
        nextLayout();
        keyCode = 0;
    }
}

void DisplayLayout::nextHistogramView()
{
    histogram_.advanceView(); // the window draws the model after the key
}

DashboardLayout DisplayLayout::layout() const
{
    if (view_.isVisible({"HistoPicture"})) return DashboardLayout::A;
    if (view_.isVisible({"VracFrame"})) return DashboardLayout::B;
    if (view_.isVisible({"Frame1"})) return DashboardLayout::C;
    return DashboardLayout::D;
}

// Rescales the dial panel from the current zoom to the given one and redraws the needles.
void DisplayLayout::zoom(double scale)
{
    resizeDialPanel(view_, 1 / panels_.dialScale());
    panels_.setDialScale(scale);
    resizeDialPanel(view_, scale);
}

void DisplayLayout::placeFrameBesideDials()
{
    const Rect dials = view_.geometry({"CadransPic"});
    Rect frame = view_.geometry({"Frame1"});
    frame.left = dials.left + dials.width;
    view_.setGeometry({"Frame1"}, frame);
}

void DisplayLayout::nextLayout()
{
    switch (layout()) {
    case DashboardLayout::A:
        view_.setVisible({"HistoPicture"}, false);
        return;
    case DashboardLayout::B:
        view_.setVisible({"VracFrame"}, false);
        view_.setVisible({"Frame1"}, true);
        view_.setVisible({"CartoBmp"}, false);
        zoom(fit_.framedScale);
        placeFrameBesideDials();
        break;
    case DashboardLayout::C:
        view_.setVisible({"Frame1"}, false);
        view_.setVisible({"VracFrame"}, false);
        view_.setVisible({"CartoBmp"}, false);
        zoom(fit_.scale);
        break;
    case DashboardLayout::D:
        view_.setVisible({"HistoPicture"}, true);
        view_.setVisible({"Frame1"}, true);
        view_.setVisible({"VracFrame"}, true);
        zoom(1.0);
        view_.setVisible({"CartoBmp"}, true);
        placeFrameBesideDials();
        break;
    }
    // The needles follow the new zoom; the engine map shows again only at normal size
    // and with the engine in its range.
    panels_.redrawNeedles();
}

} // namespace vcm
