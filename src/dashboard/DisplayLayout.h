#pragma once
// The four dashboard layouts and the keys that switch them. The layout is not stored: it
// is read back from what is visible, so Delete steps A -> B -> C -> D -> A.
//
//   layout  HistoPicture  VracFrame  Frame1              CartoBmp  dial zoom
//   A       shown         shown      right of the dials  shown     1
//   B       hidden        shown      shown               shown     1
//   C       hidden        hidden     right of the dials  hidden    DialFitScaleFramed
//   D       hidden        hidden     hidden              hidden    DialFitScale
//
// The space bar steps the histogram through its views 0 -> 4 -> 0.
#include "common/View.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ScreenFit.h"
#include "logging/Histogram.h"

namespace vcm {

enum class DashboardLayout { A, B, C, D };

// Key codes the window passes on: the space bar and Delete.
inline constexpr int KeySpace = 32;
inline constexpr int KeyDelete = 46;

class DisplayLayout {
public:
    DisplayLayout(View& view, DashboardModel& panels, HistogramModel& histogram, DialFit fit);

    // The window's key-down handler (the window sees keys before its controls). Delete is
    // consumed: keyCode becomes 0 so that no control receives it.
    void keyDown(int& keyCode);

    void nextLayout();
    void nextHistogramView();
    DashboardLayout layout() const;
    const DialFit& fit() const { return fit_; }

private:
    void zoom(double scale);
    void placeFrameBesideDials();

    View& view_;
    DashboardModel& panels_;
    HistogramModel& histogram_;
    DialFit fit_;
};

} // namespace vcm
