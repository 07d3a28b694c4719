#pragma once
// The main window as designed: every control with its object name (control arrays
// carry the dynamic property "index"), caption, font and position in twips. No logic.
class QMainWindow;

namespace vcm {

// Builds the controls into the window (its central widget and menu bar).
void buildMainFormDesign(QMainWindow& window);

} // namespace vcm
