#include "dashboard/DialLayout.h"

#include "common/Format.h"
#include "dashboard/NeedleGeometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vcm {
namespace {

constexpr double PanelWidth = 8370, PanelHeight = 4890; // 558 x 326 px
constexpr double MapSize = 5250;                        // 350 x 350 px
constexpr double Margin = 60;

// The histogram at its designed steps: bars 480 wide, grid lines 300 apart.
// Narrow margins: at 800 px the 30 bars of 384 take 768 px of the width.
constexpr double PlotLeft = 210, PlotTop = 300, BarWidth = 480, GridStep = 300;
constexpr double PlotWidth = 30 * BarWidth, PlotHeight = 10 * GridStep;
constexpr double ScaleLabelWidth = 195, ScaleLabelHeight = 180; // "10" still fits the form scaled to 800 px
constexpr double AxisLabelTop = PlotTop + PlotHeight + 30;
constexpr double RightScaleGap = 90; // keeps the right scale figures clear of the newest bar

struct Builder {
    std::vector<ControlDesign> controls;

    void container(std::string name, ControlKind kind, Rect r, std::string caption = {})
    {
        ControlDesign c;
        c.name = std::move(name);
        c.kind = kind;
        c.rect = r;
        c.caption = std::move(caption);
        controls.push_back(std::move(c));
    }
    void label(std::string name, int index, std::string parent, Rect r, double font, std::string caption,
               TextAlign align, bool bold = false, bool visible = true)
    {
        ControlDesign c;
        c.name = std::move(name);
        c.index = index;
        c.parent = std::move(parent);
        c.kind = ControlKind::Label;
        c.rect = r;
        c.fontSize = font;
        c.caption = std::move(caption);
        c.align = align;
        c.bold = bold;
        c.visible = visible;
        controls.push_back(std::move(c));
    }
    void line(std::string name, int index, std::string parent, Line l, int width, bool visible = true)
    {
        ControlDesign c;
        c.name = std::move(name);
        c.index = index;
        c.parent = std::move(parent);
        c.kind = ControlKind::Line;
        c.line = l;
        c.rect = {std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1)};
        c.borderWidth = width;
        c.visible = visible;
        controls.push_back(std::move(c));
    }
    // A figure of the dial panel: large, right-aligned so digits stay put as values change.
    void value(std::string name, Rect r, double font, std::string caption = "0")
    {
        label(std::move(name), -1, "CadransPic", r, font, std::move(caption), TextAlign::Right, true);
    }
    void unit(std::string name, Rect r, double font, std::string caption, bool visible = true)
    {
        label(std::move(name), -1, "CadransPic", r, font, std::move(caption), TextAlign::Left, false, visible);
    }
    void caption(int index, Rect r, std::string text)
    {
        label("Label2", index, "CadransPic", r, 9, std::move(text), TextAlign::Center);
    }
};

std::vector<ControlDesign> buildDesign()
{
    Builder b;
    const double sideLeft = Margin + PanelWidth;
    b.container("CadransPic", ControlKind::Picture, {Margin, Margin, PanelWidth, PanelHeight});
    b.controls.push_back([] {
        ControlDesign c;
        c.name = "CadransBmp";
        c.parent = "CadransPic";
        c.kind = ControlKind::Picture;
        c.rect = {0, 0, PanelWidth, PanelHeight};
        return c;
    }());
    b.container("Frame1", ControlKind::Frame, {sideLeft, Margin, 2760, MapSize});
    b.container("VracFrame", ControlKind::Frame, {sideLeft + 2760, Margin, 2580, MapSize}, "En Vrac");
    b.container("CartoBmp", ControlKind::Picture, {sideLeft + 2760 + 2580, Margin, MapSize, MapSize});
    b.container("HistoPicture", ControlKind::Picture,
                {0, 2 * Margin + MapSize, PlotLeft + PlotWidth + RightScaleGap + ScaleLabelWidth, AxisLabelTop + 370});

    // Battery strip across the top of the left dial.
    b.caption(0, {120, 60, 1300, 240}, "Puissance");
    b.value("BattKwValue", {120, 300, 1150, 440}, 18);
    b.unit("BattkwUnit", {1290, 400, 450, 300}, 12, "W");
    b.caption(1, {1900, 60, 1300, 240}, "Temp. batt.");
    b.value("BattTempValue", {1900, 300, 900, 440}, 18);
    b.unit("BattTempUnit", {2820, 400, 380, 300}, 12, "°C");
    b.caption(2, {3300, 60, 1900, 240}, "Max ch./déch. kW"); // the battery's power limits
    b.value("MaxChrgValue", {3300, 330, 650, 340}, 14);
    b.value("MaxDchrgValue", {4000, 330, 650, 340}, 14);

    // Inside the left dial: current, state of charge, accelerator.
    b.caption(3, {1460, 1800, 1100, 240}, "Courant");
    b.value("CurrentValue", {1100, 2040, 1320, 440}, 18, "0.0");
    b.unit("CurrentUnit", {2440, 2140, 300, 300}, 12, "A");
    b.caption(4, {1460, 2540, 1100, 240}, "Charge");
    b.value("StateValue", {1100, 2780, 1320, 440}, 18, "0.0");
    b.unit("StateUnit", {2440, 2880, 300, 300}, 12, "%");
    b.caption(5, {1460, 3280, 1100, 240}, "Accél.");
    b.value("AccValue", {1560, 3520, 900, 390}, 16);

    // Inside the right dial: engine speed, consumption, engine power, efficiency, coolant.
    b.caption(6, {5370, 1000, 1100, 240}, "Régime");
    b.value("RpmValue", {4970, 1240, 1400, 580}, 24, "");
    b.unit("RpmUnit", {6390, 1460, 720, 300}, 12, "tr/mn", false);
    b.caption(7, {4600, 1860, 1150, 240}, "Conso");
    b.value("MpgValue", {4600, 2100, 1150, 480}, 20, "");
    b.unit("MpgUnit", {4600, 2580, 1150, 250}, 10, "L/100km", false);
    b.caption(8, {6120, 1860, 1150, 240}, "Moteur");
    b.value("ThermkwValue", {6120, 2100, 1150, 480}, 20, "0.0");
    b.unit("ThermkwUnit", {6120, 2580, 1150, 250}, 10, "kW");
    // Right-aligned against its "%", with room to the left for the glyphs of a zoomed font.
    b.label("RendementLabel", -1, "CadransPic", {4620, 2900, 1130, 240}, 9, "Rendement", TextAlign::Right, false);
    b.unit("RendementUnit", {5760, 2900, 240, 250}, 10, "%");
    b.value("RendementValue", {4900, 3150, 900, 400}, 16, "");
    b.caption(9, {6020, 2900, 880, 240}, "T° eau");
    b.unit("CoolantTempUnit", {6920, 2900, 300, 250}, 10, "°C");
    // Wider than its text at normal size: a zoomed font grows a little more than the panel.
    b.value("CoolantTempValue", {5920, 3150, 1100, 400}, 16, "0.0");
    b.caption(10, {7300, 120, 1000, 240}, "Thermique");

    // Needles at the position of a zero value; the engine's is hidden until it turns.
    b.line("AiguilleAcc", -1, "CadransPic", needleLine(LeftDial, accelAngle(0), 1), 3);
    b.line("AiguilleAmp", -1, "CadransPic", needleLine(LeftDial, currentAngle(0), 1), 3);
    b.line("AiguilleSoc", -1, "CadransPic", needleLine(LeftDial, socAngle(0), 1), 3);
    b.line("AiguilleTempTh", -1, "CadransPic", needleLine(RightDial, coolantAngle(0), 1), 3);
    b.line("AiguilleRpm", -1, "CadransPic", needleLine(RightDial, rpmAngle(900), 1), 3, false);

    // Engine-map cross-hair: fixed ends on the map's left and top edges.
    b.line("CartoLineV", -1, "CartoBmp", {0, 0, 0, MapSize}, 1, false);
    b.line("CartoLineH", -1, "CartoBmp", {0, MapSize, MapSize, MapSize}, 1, false);

    // Histogram: 30 bars standing on the bottom grid line, grid every 5 bars and every
    // tenth of full scale, scale figures left and right, axis figures below.
    for (int i = 0; i < 30; ++i)
        b.label("Histogr", i, "HistoPicture", {PlotLeft + i * BarWidth, PlotTop + PlotHeight, BarWidth, 0}, 7, "0",
                TextAlign::Center, false, false);
    for (int i = 0; i <= 10; ++i)
        b.label("Histolineh", i, "HistoPicture", {PlotLeft, PlotTop + GridStep * i, PlotWidth, 15}, 0, "",
                TextAlign::Left);
    for (int i = 0; i <= 6; ++i)
        b.label("Histolinev", i, "HistoPicture", {PlotLeft + 5 * BarWidth * i, PlotTop, 15, PlotHeight}, 0, "",
                TextAlign::Left);
    auto scaleLabel = [&](int index, double left, double top, std::string text, TextAlign align) {
        b.label("HistogrLabel", index, "HistoPicture", {left, top, ScaleLabelWidth, ScaleLabelHeight}, 7,
                std::move(text), align);
    };
    const double rightScale = PlotLeft + PlotWidth + RightScaleGap;
    for (int i = 0; i <= 3; ++i) {
        const double top = PlotTop + 2 * GridStep * (i + 1) - 75;
        const std::string figure = std::to_string(8 - 2 * i);
        scaleLabel(i, 15, top, figure, TextAlign::Right);
        scaleLabel(i + 17, rightScale, top, figure, TextAlign::Left);
    }
    scaleLabel(11, 15, PlotTop - 75, "10", TextAlign::Right);
    scaleLabel(16, rightScale, PlotTop - 75, "10", TextAlign::Left);
    for (int i = 0; i <= 5; ++i)
        scaleLabel(4 + i, PlotLeft + 5 * BarWidth * i - 75, AxisLabelTop, std::to_string(5 * i), TextAlign::Left);
    b.label("HistogrLabel", 10, "HistoPicture", {PlotLeft + PlotWidth - 280, AxisLabelTop, 420, ScaleLabelHeight},
            7, "Mn", TextAlign::Left);
    b.label("HistogrLabel", 15, "HistoPicture", {PlotLeft, 30, 1600, 240}, 8, "L/100km", TextAlign::Left, true);
    const char* legend[] = {"%Glide", "%Récup.", "%Elec.", "%Therm."};
    for (int i = 0; i < 4; ++i)
        b.label("HistogrLegend", i, "HistoPicture", {PlotLeft + 3000 + 1500.0 * i, 30, 1400, 240}, 8, legend[i],
                TextAlign::Left, true, false);
    return std::move(b.controls);
}

} // namespace

const std::vector<ControlDesign>& designedControls()
{
    static const std::vector<ControlDesign> design = buildDesign();
    return design;
}

const ControlDesign& designOf(std::string_view name, int index)
{
    for (const auto& c : designedControls())
        if (c.name == name && c.index == index) return c;
    throw std::out_of_range("no designed control " + std::string(name) + "(" + std::to_string(index) + ")");
}

void applyDesign(View& view)
{
    for (const auto& c : designedControls()) {
        const ControlRef ref{c.name, c.index};
        view.setGeometry(ref, c.rect);
        if (c.kind == ControlKind::Line) {
            view.setLine(ref, c.line);
            view.setBorderWidth(ref, c.borderWidth);
        }
        if (c.kind == ControlKind::Label) view.setFontSize(ref, c.fontSize);
        if (c.kind == ControlKind::Label || !c.caption.empty()) view.setText(ref, c.caption);
        view.setVisible(ref, c.visible);
    }
}

void resizeDialPanel(View& view, double factor)
{
    view.setVisible({"CadransPic"}, false);
    for (std::string_view panel : {"CadransPic", "CadransBmp"}) {
        Rect r = view.geometry({panel});
        r.width *= factor;
        r.height *= factor;
        view.setGeometry({panel}, r);
    }
    auto scaleLabel = [&](ControlRef ref) {
        const Rect r = view.geometry(ref);
        view.setGeometry(ref, {r.left * factor, r.top * factor, r.width * factor, r.height * factor});
        view.setFontSize(ref, view.fontSize(ref) * factor);
    };
    for (std::string_view name : DialPanelLabels) scaleLabel({name});
    for (int i = 0; i < CaptionLabelCount; ++i) scaleLabel({"Label2", i});
    // A needle never gets thinner than one pixel: a zero width could not grow back.
    for (std::string_view needle : Needles) {
        const int width = static_cast<int>(roundHalfEven(view.borderWidth({needle}) * factor));
        view.setBorderWidth({needle}, std::max(width, 1));
    }
    view.setVisible({"CadransPic"}, true);
}

} // namespace vcm
