// The window as drawn: with every value at its widest plausible text, no two visible
// labels overlap, no caption is wider or taller than its label, and no label sticks out
// of the panel that holds it; in both unit systems, on every screen size, and in each
// layout Delete steps through.
#include "WindowRig.h"

#include "dashboard/NeedleGeometry.h"
#include "dashboard/qt/DialLayout.h"
#include "dashboard/qt/LayoutSwitch.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

// The widest texts the panels write (most digits, a minus sign where one can occur).
const std::map<std::string, std::string> kWidest = {
    {"CurrentValue", "-200.0"}, {"BattKwValue", "-40.0"},   {"StateValue", "100.0"},    {"AccValue", "127"},
    {"RpmValue", "5000"},       {"MpgValue", "99.9"},       {"RendementValue", "39.9"}, {"ThermkwValue", "99.9"},
    {"CoolantTempValue", "230.0"}, {"BattTempValue", "-40"}, {"MaxDchrgValue", "255"}, {"MaxChrgValue", "255"},
    {"SpeedValue", "180"},      {"DistanceValue", "999.999"}, {"LitresValue", "99.999"}, {"ConsoSp95Value", "99.99"},
    {"VmoyValue", "130.0"},     {"CarTimeValue", "99:59"},  {"TankValue", "45"},        {"NowValue", "23:59"},
    {"VolantValue", "-450.0"},  {"LitrehValue", "25.5"},    {"TemperThValue", "-40"},   {"CoupleThValue", "254"},
    {"RpMg1VAlue", "-10000"},   {"vMg1Value", "-255"},      {"VVtiValue", "-12.5"},     {"MgTempValue", "-40"},
    {"TempMg2Value", "255"},    {"ExtTempValue", "-40"},    {"BattVoltValue", "280"},   {"BrakeValue", "100"},
    {"PourcenTherValue", "100"}, {"PourcenElecValue", "100"}, {"PourcenRecupValue", "100"},
    {"PourcenGlideValue", "100"}, {"PourcenArretValue", "100"}, {"GpsAltitudeValue", "1234.5"},
    {"DenivValue", "-1234"},    {"DistanceLabel", "Mètres"}, {"BattkwUnit", "kW"},
};

std::string describe(const QLabel* l)
{
    const QVariant index = l->property("index");
    return l->objectName().toStdString() + "(" + std::to_string(index.isValid() ? index.toInt() : -1) + ") '" +
           l->text().toStdString() + "'";
}

bool shown(const QWidget* w, const QWidget* top)
{
    for (; w && w != top; w = w->parentWidget()) if (w->isHidden()) return false;
    return true;
}

// Every visible label with a caption: overlaps, clipped captions, labels outside their
// panel, one a line; empty when the window is clean.
std::string layoutFaults(WindowRig& rig)
{
    std::string faults;
    std::vector<std::pair<const QLabel*, QRect>> labels;
    for (const QLabel* l : rig.form().findChildren<QLabel*>()) {
        if (!shown(l, &rig.form()) || l->text().isEmpty()) continue;
        const QFontMetrics fm(l->font());
        // A histogram bar's caption sits in the bar, whose height is the value's: only its
        // width is the window's to get right.
        const bool bar = l->objectName() == QLatin1String("Histogr");
        if (fm.horizontalAdvance(l->text()) > l->width() || (!bar && fm.height() > l->height() + 2))
            faults += "clipped: " + describe(l) + " text " + std::to_string(fm.horizontalAdvance(l->text())) + "x" +
                      std::to_string(fm.height()) + " in " + std::to_string(l->width()) + "x" +
                      std::to_string(l->height()) + "\n";
        if (!l->parentWidget()->rect().contains(l->geometry())) faults += "outside its panel: " + describe(l) + "\n";
        labels.push_back({l, QRect(l->mapTo(&rig.form(), QPoint(0, 0)), l->size())});
    }
    for (std::size_t i = 0; i < labels.size(); ++i)
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            if (labels[i].second.intersects(labels[j].second))
                faults += "overlap: " + describe(labels[i].first) + " / " + describe(labels[j].first) + "\n";
    return faults;
}

// Delete pressed on the focused button steps A -> B -> C -> D -> A: which parts show,
// the dial panel zoomed to the screen in C and D with its needles, every label back
// where it started. Figures clean in every layout: WindowFit.
TEST(WindowLayouts, DeleteCyclesTheFourLayoutsAndBack)
{
    WindowRig rig;
    rig.feed("3C8 00 00 2F\r\n"); // 1504 rpm: the engine map shows at normal zoom
    rig.tick();
    std::vector<ControlRef> dialPanel = {{"CadransPic"}};
    for (auto name : DialPanelLabels) dialPanel.push_back({name});
    for (int i = 0; i < CaptionLabelCount; ++i) dialPanel.push_back({"Label2", i});
    std::vector<std::pair<Rect, double>> start;
    for (ControlRef c : dialPanel) start.push_back({rig.view().geometry(c), rig.view().fontSize(c)});
    const DialFit fit = rig.form().layout().fit();
    struct Step { bool histo, vrac, frame1, map; double zoom; };
    const Step steps[] = {{false, true, true, true, 1}, {false, false, true, false, fit.framedScale},
                          {false, false, false, false, fit.scale}, {true, true, true, true, 1}};
    for (int press = 0; press < 4; ++press) {
        SCOPED_TRACE("layout " + std::string(1, "BCDA"[press]));
        rig.pressKey(Qt::Key_Delete);
        rig.tick();
        const Step& s = steps[press];
        EXPECT_EQ(std::tuple(rig.visible("HistoPicture"), rig.visible("VracFrame"), rig.visible("Frame1"),
                             rig.visible("CartoBmp")),
                  std::tuple(s.histo, s.vrac, s.frame1, s.map));
        const QWidget* panel = rig.view().widget({"CadransPic"});
        EXPECT_EQ(rig.form().layout().zoom(), s.zoom);
        EXPECT_NEAR(rig.view().geometry({"CadransPic"}).width, 8370 * s.zoom, 1e-6);
        // The needles follow the zoom: the rpm needle's tip lies inside the zoomed panel.
        const Line l = rig.view().line({"AiguilleRpm"});
        EXPECT_LE(std::max(l.x1, l.x2) / 15, panel->width() + 1);
        EXPECT_GT(std::max(l.x1, l.x2) / 15, panel->width() / 2);
        if (s.frame1) {
            EXPECT_EQ(rig.view().widget({"Frame1"})->x(), panel->x() + panel->width()) << "Frame1 beside the dials";
        }
    }
    for (std::size_t i = 0; i < dialPanel.size(); ++i) {
        const Rect now = rig.view().geometry(dialPanel[i]), r = start[i].first;
        for (auto [got, want] : {std::pair{now.left, r.left}, {now.top, r.top}, {now.width, r.width}, {now.height, r.height}})
            EXPECT_NEAR(got, want, 1e-6) << dialPanel[i].name << dialPanel[i].index;
        EXPECT_NEAR(rig.view().fontSize(dialPanel[i]), start[i].second, 1e-9) << dialPanel[i].name;
    }
    for (auto needle : Needles) EXPECT_EQ(rig.view().borderWidth({needle}), 3) << needle;
}

// Every needle swept over every value it can take never crosses a figure of the dial panel.
TEST(Design, NoNeedleEverCrossesADialPanelFigure)
{
    std::vector<Line> sweeps;
    for (int a = -3000; a <= 3000; a += 25) sweeps.push_back(needleLine(LeftDial, currentAngle(a), 1));
    for (int s = 0; s <= 1000; s += 5) sweeps.push_back(needleLine(LeftDial, socAngle(s), 1));
    for (int p = 0; p <= 255; ++p) sweeps.push_back(needleLine(LeftDial, accelAngle(accelStep(p)), 1));
    for (int r = 928; r <= 8000; r += 32) sweeps.push_back(needleLine(RightDial, rpmAngle(r), 1));
    for (int c = -400; c <= 1300; c += 5) sweeps.push_back(needleLine(RightDial, coolantAngle(c), 1));
    auto crosses = [](const Line& l, const Rect& r) {
        for (int i = 0; i <= 200; ++i) {
            const double x = l.x1 + (l.x2 - l.x1) * i / 200, y = l.y1 + (l.y2 - l.y1) * i / 200;
            if (x > r.left && x < r.left + r.width && y > r.top && y < r.top + r.height) return true;
        }
        return false;
    };
    for (const ControlDesign& c : designedControls())
        if (c.parent == "CadransPic" && c.kind == ControlKind::Label)
            for (const auto& needle : sweeps)
                if (crosses(needle, c.rect)) {
                    ADD_FAILURE() << "a needle crosses " << c.name << "(" << c.index << ")";
                    break;
                }
}

} // namespace

// Every layout on every common screen, from a car's 800 x 480 to 1920 x 1080, in either
// unit system, with the widest figures written in each layout (the fonts of a zoomed
// panel do not grow exactly with its labels): the histogram fitted to the screen, the
// whole window on the screen (room left for a title bar and borders), every control inside
// the window and its panel, no two parts or controls overlapping, Start/Stop in reach;
// and the window back to its first size after D -> A.
std::string fitFaults(WindowRig& rig, QSize screen)
{
    std::string faults;
    const QWidget& form = rig.form();
    if (form.width() > screen.width() - 6 || form.height() > screen.height() - 30)
        faults += "window " + std::to_string(form.width()) + "x" + std::to_string(form.height()) + " off the screen\n";
    const QWidget* area = rig.form().centralWidget();
    for (const QWidget* w : area->findChildren<QWidget*>()) {
        if (!shown(w, area)) continue;
        const QRect inWindow(w->mapTo(&rig.form(), QPoint(0, 0)), w->size());
        if (!w->parentWidget()->rect().contains(w->geometry()) || !form.rect().contains(inWindow))
            faults += "outside: " + w->objectName().toStdString() + "\n";
    }
    // The parts of the dashboard never lie over one another (pictures are drawn in full).
    std::vector<const QWidget*> parts;
    for (const char* name : {"CadransPic", "Frame1", "VracFrame", "CartoBmp", "HistoPicture", "StatusStrip"})
        if (const QWidget* w = area->findChild<QWidget*>(QString::fromLatin1(name)); w && !w->isHidden())
            parts.push_back(w);
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t j = i + 1; j < parts.size(); ++j)
            if (parts[i]->geometry().intersects(parts[j]->geometry()))
                faults += "overlap: " + parts[i]->objectName().toStdString() + " / " + parts[j]->objectName().toStdString() + "\n";
    // Buttons against every label of the strip.
    for (const QPushButton* b : area->findChildren<QPushButton*>()) {
        if (!shown(b, area)) continue;
        for (const QLabel* l : b->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (shown(l, area) && !l->text().isEmpty() && l->geometry().intersects(b->geometry()))
                faults += "button " + b->text().toStdString() + " under " + describe(l) + "\n";
    }
    return faults + layoutFaults(rig);
}

TEST(WindowFit, EveryLayoutFitsEveryScreen)
{
    const QSize screens[] = {{800, 480}, {800, 600}, {1024, 600}, {1024, 768}, {1280, 720}, {1366, 768}, {1600, 1000}, {1920, 1080}};
    const QByteArray shots = qgetenv("VCM_WINDOW_SHOTS"); // a folder: PNGs of every case, to look at
    bool metric = true;
    for (const QSize& screen : screens) {
        const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height());
        metric = !metric;
        WindowRig rig({.metric = metric, .celsius = metric, .screen = screen});
        rig.feed("3C8 00 00 2F\r\n");
        rig.tick();
        const HistogramSteps steps = histogramSteps(screen.width(), screen.height());
        const Rect bar = rig.view().geometry({"Histogr", 0}), grid = rig.view().geometry({"Histolineh", 1});
        EXPECT_EQ(std::pair(bar.width, grid.top - rig.view().geometry({"Histolineh", 0}).top),
                  std::pair(steps.dx, steps.dy)) << size;
        for (int i = 0; i < 30; ++i) rig.view().setText({"Histogr", i}, "10.0");
        const QSize first = rig.form().size();
        for (const char layout : std::string("ABCD")) {
            SCOPED_TRACE(size + " layout " + layout);
            // The widest figures again: each layout sets its own fonts.
            for (const auto& [name, text] : kWidest) rig.view().setText({name}, text);
            QApplication::processEvents();
            if (!shots.isEmpty())
                rig.form().grab().save(QString::fromLatin1(shots) + "/" + QString::fromStdString(size) + layout + ".png");
            EXPECT_EQ(fitFaults(rig, screen), "");
            EXPECT_TRUE(shown(rig.view().widget({"Command1", 1}), &rig.form())) << "Stop in reach while running";
            rig.pressKey(Qt::Key_Delete);
        }
        EXPECT_EQ(rig.form().size(), first) << size << ": the window takes its first size again after D -> A";
    }
}
