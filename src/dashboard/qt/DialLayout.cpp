#include "dashboard/qt/DialLayout.h"

#include "dashboard/NeedleGeometry.h"
#include "dashboard/ScreenFit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vcm {
namespace {

using design::Margin;
constexpr double PanelWidth = design::DialPanel.width, PanelHeight = design::DialPanel.height;
constexpr double MapSize = design::MapSize;

struct Builder {
    std::vector<ControlDesign> controls;

    // What every control inside a container carries: its name, element, container and kind.
    static ControlDesign placed(std::string name, int index, std::string parent, ControlKind kind, bool visible)
    {
        ControlDesign c;
        c.name = std::move(name);
        c.index = index;
        c.parent = std::move(parent);
        c.kind = kind;
        c.visible = visible;
        return c;
    }

    void container(std::string name, ControlKind kind, Rect r, std::string caption = {})
    {
        ControlDesign c = placed(std::move(name), -1, {}, kind, true);
        c.rect = r;
        c.caption = std::move(caption);
        controls.push_back(std::move(c));
    }
    void label(std::string name, int index, std::string parent, Rect r, double font, std::string caption,
               TextAlign align, bool bold = false, bool visible = true)
    {
        ControlDesign c = placed(std::move(name), index, std::move(parent), ControlKind::Label, visible);
        c.rect = r;
        c.fontSize = font;
        c.caption = std::move(caption);
        c.align = align;
        c.bold = bold;
        controls.push_back(std::move(c));
    }
    void line(std::string name, int index, std::string parent, Line l, int width, bool visible = true)
    {
        ControlDesign c = placed(std::move(name), index, std::move(parent), ControlKind::Line, visible);
        c.line = l;
        c.rect = {std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1)};
        c.borderWidth = width;
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
    const double vracLeft = sideLeft + design::Frame1Width;
    b.container("Frame1", ControlKind::Frame, {sideLeft, Margin, design::Frame1Width, MapSize});
    b.container("VracFrame", ControlKind::Frame, {vracLeft, Margin, design::VracFrameWidth, MapSize}, "En Vrac");
    b.container("CartoBmp", ControlKind::Picture, {vracLeft + design::VracFrameWidth, Margin, MapSize, MapSize});
    const HistogramGeometry histogram = designedHistogram();
    b.container("HistoPicture", ControlKind::Picture, histogram.picture);

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

    // Histogram: bars empty until the trip file or the first minute fills them.
    for (int i = 0; i < 30; ++i)
        b.label("Histogr", i, "HistoPicture", histogram.bars[i], 7, "0", TextAlign::Center, false, false);
    for (int i = 0; i <= 10; ++i)
        b.label("Histolineh", i, "HistoPicture", histogram.gridH[i], 0, "", TextAlign::Left);
    for (int i = 0; i <= 6; ++i)
        b.label("Histolinev", i, "HistoPicture", histogram.gridV[i], 0, "", TextAlign::Left);
    auto scaleLabel = [&](int index, std::string text, TextAlign align, double font = 7, bool bold = false) {
        b.label("HistogrLabel", index, "HistoPicture", *histogram.labels[index], font, std::move(text), align, bold);
    };
    for (int i = 0; i <= 3; ++i) {
        scaleLabel(i, std::to_string(8 - 2 * i), TextAlign::Right);
        scaleLabel(i + 17, std::to_string(8 - 2 * i), TextAlign::Left);
    }
    scaleLabel(11, "10", TextAlign::Right);
    scaleLabel(16, "10", TextAlign::Left);
    for (int i = 0; i <= 5; ++i) scaleLabel(4 + i, std::to_string(5 * i), TextAlign::Left);
    scaleLabel(10, "Mn", TextAlign::Left);
    scaleLabel(15, "L/100km", TextAlign::Left, 8, true);
    const char* legend[] = {"%Glide", "%Récup.", "%Elec.", "%Therm."};
    for (int i = 0; i < 4; ++i)
        b.label("HistogrLegend", i, "HistoPicture", {histogram.plotLeft + 3000 + 1500.0 * i, 30, 1400, 240}, 8, legend[i],
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
    for (std::string_view needle : Needles)
        view.setBorderWidth({needle}, zoomedNeedleWidth(view.borderWidth({needle}), factor));
    view.setVisible({"CadransPic"}, true);
}

void applyHistogramGeometry(View& view, const HistogramGeometry& g)
{
    view.setGeometry({"HistoPicture"}, g.picture);
    for (int i = 0; i < 30; ++i) view.setGeometry({"Histogr", i}, g.bars[i]);
    for (int i = 0; i <= 10; ++i) view.setGeometry({"Histolineh", i}, g.gridH[i]);
    for (int i = 0; i <= 6; ++i) view.setGeometry({"Histolinev", i}, g.gridV[i]);
    for (int i = 0; i <= 20; ++i)
        if (g.labels[i]) view.setGeometry({"HistogrLabel", i}, *g.labels[i]);
}

} // namespace vcm
