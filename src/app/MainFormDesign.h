#pragma once
// The main window as designed: every control with its object name (control arrays
// carry the dynamic property "index"), caption, font and position in twips. No logic.
#include <QPalette>

class QMainWindow;

namespace vcm {

class QtView;

// Builds the controls into the window (its central widget and menu bar): the designed
// dial panel, engine map and histogram, the two frames' figures, the status strip
// (Start/Stop, Config, lamp, shares, GPS) and the menus. The view is indexed afterwards.
void buildMainFormDesign(QMainWindow& window, QtView& view);

// The dashboard's dark colours, for the window and every dialog and message box.
QPalette dashboardPalette();

// Puts the status strip under the lowest part the layout shows (the histogram in layout
// A, the dials or frames in the others), so that a zoomed dial never covers it.
void placeStatusStrip(QtView& view);

// Room the status strip takes under the parts, with its gap, in pixels at the designed size.
inline constexpr int StatusStripRoomPx = (120 + 480) / 15;

} // namespace vcm
