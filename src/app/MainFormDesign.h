#pragma once
// The main window as designed: every control with its object name (control arrays
// carry the dynamic property "index"), caption, font and position in twips. No logic.
#include <QPalette>

class QMainWindow;
class QWidget;

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

// Room the status strip takes under the parts, with its gap, in pixels at the designed
// size, in one row or two.
inline constexpr int statusStripRoomPx(bool twoRows) { return (120 + (twoRows ? 1020 : 480)) / 15; }
// The strip's width in one row, pixels at the designed size.
int statusStripWidthPx();
// A screen narrower than the strip's one row gets it in two: buttons, lamp and GPS
// figures, with the shares under them.
void arrangeStatusStrip(QWidget& strip, bool twoRows);

} // namespace vcm
