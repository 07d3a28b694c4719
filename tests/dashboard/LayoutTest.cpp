// The dashboard's geometry: no needle over a figure, the four layouts on Delete with their
// zoom and the way back, needle widths under zoom, the start-up fit to the screen and the
// window caption. Parts and figures apart and on the screen in every layout and screen size
// are checked on the drawn window (WindowFit, ScreenFitInWindow).
#include "MemoryView.h"
#include "dashboard/DialLayout.h"
#include "dashboard/DisplayLayout.h"
#include "dashboard/NeedleGeometry.h"
#include "dashboard/DashboardModel.h"
#include "dashboard/ScreenFit.h"
#include "dashboard/UnitChoice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace vcm;

namespace {

bool inside(const Rect& inner, const Rect& outer, double slack = 1e-6)
{
    return inner.left >= outer.left - slack && inner.top >= outer.top - slack &&
           inner.left + inner.width <= outer.left + outer.width + slack &&
           inner.top + inner.height <= outer.top + outer.height + slack;
}

std::vector<ControlRef> dialPanelLabels()
{
    std::vector<ControlRef> refs;
    for (auto name : DialPanelLabels) refs.push_back({name});
    for (int i = 0; i < CaptionLabelCount; ++i) refs.push_back({"Label2", i});
    return refs;
}

std::string refName(ControlRef r) { return std::string(r.name) + "(" + std::to_string(r.index) + ")"; }

} // namespace

// Labels apart and inside their panel are checked on the drawn window; here every needle
// is swept over every value it can take.
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
    for (const auto& ref : dialPanelLabels())
        for (const auto& needle : sweeps)
            if (crosses(needle, designOf(ref.name, ref.index).rect)) {
                ADD_FAILURE() << "a needle crosses " << refName(ref);
                break;
            }
}

// The dashboard's layout switching over an in-memory window laid out as designed.
struct LayoutRig {
    LayoutRig(int width, int height) : layout(view, panels, histogram, dialFit(width, height)) { applyDesign(view); }
    VehicleState state;
    MonitorSettings settings;
    MemoryView view;
    DashboardModel panels{state, settings};
    HistogramModel histogram;
    DisplayLayout layout;
};

TEST(Layouts, DeleteCyclesFourLayoutsAndRestoresTheDials)
{
    LayoutRig rig(1280, 1024);
    auto& [state, settings, view, panels, histogram, layout] = rig;
    applyHistogramGeometry(view, fitHistogram(1280, 1024));
    const DialFit fit = layout.fit();
    state.EngineRpm = 2000;
    panels.refreshOnTick();
    ASSERT_TRUE(panels.dashboard().map.value.inRange);
    int other = 65; // keys other than Delete are left alone
    layout.keyDown(other);
    EXPECT_EQ(other, 65);

    // Which parts each layout shows is checked on the running window (WindowLayouts).
    struct Expect { DashboardLayout layout; bool frame, map; double scale; };
    const Expect steps[] = {{DashboardLayout::B, true, true, 1.0},
                            {DashboardLayout::C, true, false, fit.framedScale},
                            {DashboardLayout::D, false, false, fit.scale},
                            {DashboardLayout::A, true, true, 1.0}};
    EXPECT_EQ(layout.layout(), DashboardLayout::A);
    for (const auto& e : steps) {
        SCOPED_TRACE(static_cast<int>(e.layout));
        int key = KeyDelete;
        layout.keyDown(key);
        EXPECT_EQ(key, 0) << "Delete must not reach a control";
        EXPECT_EQ(layout.layout(), e.layout);
        EXPECT_EQ(panels.dashboard().map.value.inRange, e.map);
        EXPECT_TRUE(view.isVisible({"CadransPic"}));
        EXPECT_DOUBLE_EQ(panels.dialScale(), e.scale);

        const Rect dials = view.geometry({"CadransPic"});
        EXPECT_NEAR(dials.width, 8370 * e.scale, 1e-6);
        EXPECT_NEAR(view.fontSize({"RpmValue"}), designOf("RpmValue").fontSize * e.scale, 1e-9);
        // Frame1 sits right of the dials wherever it is shown; all on the screen.
        if (e.frame) {
            const Rect frame = view.geometry({"Frame1"});
            EXPECT_NEAR(frame.left, dials.left + dials.width, 1e-6);
            EXPECT_LE(frame.left + frame.width, 1280 * 15 + 1e-6);
        }
        EXPECT_LE(dials.left + dials.width, 1280 * 15 + 1e-6);
        EXPECT_LE(dials.top + dials.height, 1024 * 15 + 1e-6);
    }
    // Back at A: every dial-panel control where it started, needles as wide as designed.
    for (const auto& ref : dialPanelLabels()) {
        const Rect now = view.geometry(ref), designed = designOf(ref.name, ref.index).rect;
        EXPECT_TRUE(inside(now, designed) && inside(designed, now)) << refName(ref);
        EXPECT_NEAR(view.fontSize(ref), designOf(ref.name, ref.index).fontSize, 1e-9) << refName(ref);
    }
    for (auto needle : Needles) EXPECT_EQ(view.borderWidth({needle}), 3) << needle;
}

TEST(Layouts, NeedleWidthRoundsHalfToEvenAndNeverVanishes)
{
    struct Case { int width; double factor; int zoomed; int back; };
    // A width of 1 shrunk by 0.4 stays 1 (a zero width could never grow back), so going
    // back by 2.5 rounds to 2: relative zooming is exact only up to rounding.
    const Case cases[] = {{1, 1.4, 1, 1}, {1, 1.6, 2, 1}, {3, 1.5, 4, 3}, {2, 1.25, 2, 2}, {1, 0.4, 1, 2}, {3, 0.8, 2, 2}};
    for (const auto& c : cases) {
        MemoryView view;
        applyDesign(view);
        for (auto needle : Needles) view.setBorderWidth({needle}, c.width);
        resizeDialPanel(view, c.factor);
        EXPECT_EQ(view.borderWidth({"AiguilleAmp"}), c.zoomed) << c.width << " x " << c.factor;
        resizeDialPanel(view, 1 / c.factor);
        EXPECT_EQ(view.borderWidth({"AiguilleRpm"}), c.back) << c.width << " x " << c.factor << " and back";
    }
}

struct FitCase { int width, height; double dy, dx, dialScale, framedScale; };

class StartUpFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(StartUpFit, HistogramAndDialLimits)
{
    const auto& c = GetParam();
    const HistogramSteps steps = histogramSteps(c.width, c.height);
    EXPECT_EQ(steps.dy, c.dy);
    EXPECT_EQ(steps.dx, c.dx);
    const DialFit fit = dialFit(c.width, c.height);
    EXPECT_NEAR(fit.scale, c.dialScale, 1e-4);
    EXPECT_NEAR(fit.framedScale, c.framedScale, 1e-4);

    const HistogramGeometry g = fitHistogram(c.width, c.height);
    const Rect frame{0, 0, g.picture.width, g.picture.height};
    // Bars stand on the bottom line; every figure stays in the frame, the axis figures
    // under the plot, the right-hand scale clear of it.
    EXPECT_DOUBLE_EQ(g.plotHeight, 10 * c.dy);
    EXPECT_DOUBLE_EQ(g.bars[29].top, g.gridH[10].top);
    EXPECT_DOUBLE_EQ(g.bars[29].left + c.dx, g.gridH[10].left + g.gridH[10].width);
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE(!g.labels[i] || inside(*g.labels[i], frame)) << c.width << "x" << c.height << " label " << i;
    for (int i = 4; i <= 10; ++i) EXPECT_GT(g.labels[i]->top, g.gridH[10].top);
    for (int i = 17; i <= 20; ++i) EXPECT_GT(g.labels[i]->left, g.gridH[0].left + g.gridH[0].width);
}

INSTANTIATE_TEST_SUITE_P(Screens, StartUpFit, ::testing::Values(
    // width: (15 W - 60) / 8370, framed (15 W - 60 - 2760) / 8370; height (15 H - 60) / 4890
    FitCase{640, 480, 150, 384, 9540.0 / 8370, 6780.0 / 8370},
    FitCase{800, 600, 300, 384, 11940.0 / 8370, 9180.0 / 8370},
    FitCase{1024, 768, 450, 480, 15300.0 / 8370, 12540.0 / 8370},
    FitCase{1280, 1024, 450, 560, 19140.0 / 8370, 16380.0 / 8370},
    FitCase{1024, 700, 300, 480, 15300.0 / 8370, 12540.0 / 8370},   // heights the steps leave out
    FitCase{1366, 360, 300, 560, 5340.0 / 4890, 5340.0 / 4890}),
    [](const ::testing::TestParamInfo<FitCase>& p) { return std::to_string(p.param.width) + "x" + std::to_string(p.param.height); });

TEST(StartUpFit, FailedScreenMetricsKeepNormalSize)
{
    EXPECT_EQ(dialFit(0, 0).scale, 1.0);
    EXPECT_EQ(dialFit(0, 0).framedScale, 1.0);
}

TEST(Caption, VersionRunsMinorAndRevisionTogether)
{
    EXPECT_EQ(versionText(1, 2, 3), "1.23");
    EXPECT_EQ(versionText(1, 0, 12), "1.012");
    EXPECT_EQ(windowCaption(1, 2, 3), "VeloxCanMoni Ver.1.23");
}
