#pragma once
// The designed dashboard: every control the layout and zoom move, with its position in
// twips at normal size (15 twips to a pixel), font size, needle width, first caption and
// visibility. The window creates its widgets from this table and applyDesign() gives
// them their start-up state through the View.
//
//   form:  CadransPic 558 x 326 px | Frame1 | VracFrame | CartoBmp 350 x 350 px
//          HistoPicture, the full width below
//   CadransPic holds its background CadransBmp, the value, unit and caption labels
//   (inside the needles' inner radius, so no needle ever crosses a figure) and the
//   five needles; CartoBmp holds the cross-hair; HistoPicture the histogram.
#include "dashboard/qt/View.h"
#include "dashboard/ScreenFit.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

enum class ControlKind { Picture, Frame, Label, Line };
enum class TextAlign { Left, Center, Right };

struct ControlDesign {
    std::string name;
    int index = -1;
    std::string parent;  // container control, empty for the form's client area
    ControlKind kind = ControlKind::Label;
    Rect rect;           // twips, relative to the parent (lines: their bounding box)
    Line line;           // end points of a line control, twips of the parent
    double fontSize = 0; // points, labels
    int borderWidth = 0; // pixels, line controls
    std::string caption;
    TextAlign align = TextAlign::Left;
    bool visible = true;
    bool bold = false;
};

// Every designed control, containers before their contents.
const std::vector<ControlDesign>& designedControls();
// The design of one control; throws std::out_of_range for a name the design lacks.
const ControlDesign& designOf(std::string_view name, int index = -1);

// Gives every designed control its start-up geometry, line, font size, needle width,
// caption and visibility.
void applyDesign(View& view);

// Controls rescaled with the dial panel, in the order they are rescaled.
inline constexpr std::array<std::string_view, 22> DialPanelLabels = {
    "CurrentValue", "BattKwValue", "BattTempValue", "StateValue", "RpmValue", "MpgValue",
    "RendementValue", "ThermkwValue", "CoolantTempValue", "CurrentUnit", "BattkwUnit",
    "BattTempUnit", "StateUnit", "RpmUnit", "MpgUnit", "RendementUnit", "ThermkwUnit",
    "CoolantTempUnit", "AccValue", "MaxDchrgValue", "MaxChrgValue", "RendementLabel"};
inline constexpr int CaptionLabelCount = 11; // Label2(0..10)
inline constexpr std::array<std::string_view, 5> Needles = {
    "AiguilleAcc", "AiguilleAmp", "AiguilleSoc", "AiguilleTempTh", "AiguilleRpm"};

// ResizeDialPanel: multiplies the size of CadransPic and CadransBmp, the position, size
// and font of every dial-panel label, and the needles' width (rounded, halves to even)
// by factor (needles: zoomedNeedleWidth). Always relative: going from zoom z1 to z2 is a resize by 1 / z1, then by z2.
// The needles' end points are the display routines' business (Panels::redrawNeedles).
void resizeDialPanel(View& view, double factor);

// The histogram's controls (HistoPicture, Histogr 0..29, Histolineh 0..10, Histolinev 0..6,
// HistogrLabel 0..20) where the geometry puts them.
void applyHistogramGeometry(View& view, const HistogramGeometry& geometry);

} // namespace vcm
