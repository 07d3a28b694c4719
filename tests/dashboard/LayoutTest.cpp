// The dashboard's geometry: needle widths under zoom, the start-up fit to the screen and
// the window caption. The four layouts Delete steps through, with their parts and zoom,
// are checked in the drawn window (WindowLayouts, WindowFit).
#include "dashboard/DisplayLayout.h"
#include "dashboard/ScreenFit.h"
#include "dashboard/UnitChoice.h"

#include <gtest/gtest.h>

#include <utility>

using namespace vcm;

namespace {

bool inside(const Rect& inner, const Rect& outer, double slack = 1e-6)
{
    return inner.left >= outer.left - slack && inner.top >= outer.top - slack &&
           inner.left + inner.width <= outer.left + outer.width + slack &&
           inner.top + inner.height <= outer.top + outer.height + slack;
}

} // namespace

TEST(Layouts, NeedleWidthRoundsHalfToEvenAndNeverVanishes)
{
    struct Case { int width; double factor; int zoomed; int back; };
    // A width of 1 shrunk by 0.4 stays 1 (a zero width could never grow back), so going
    // back by 2.5 rounds to 2: relative zooming is exact only up to rounding.
    const Case cases[] = {{1, 1.4, 1, 1}, {1, 1.6, 2, 1}, {3, 1.5, 4, 3}, {2, 1.25, 2, 2}, {1, 0.4, 1, 2}, {3, 0.8, 2, 2}};
    for (const auto& c : cases) {
        const int zoomed = zoomedNeedleWidth(c.width, c.factor);
        EXPECT_EQ(std::pair(zoomed, zoomedNeedleWidth(zoomed, 1 / c.factor)), std::pair(c.zoomed, c.back))
            << c.width << " x " << c.factor;
    }
}

struct FitCase { int width, height; double dy, dx, dialScale, framedScale; };

class StartUpFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(StartUpFit, HistogramAndDialLimits)
{
    const auto& c = GetParam();
    const HistogramSteps steps = histogramSteps(c.width, c.height);
    EXPECT_EQ(std::pair(steps.dy, steps.dx), std::pair(c.dy, c.dx));
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
    FitCase{1024, 768, 450, 480, 15300.0 / 8370, 12540.0 / 8370},
    FitCase{1280, 1024, 450, 560, 19140.0 / 8370, 16380.0 / 8370},
    FitCase{1024, 700, 300, 480, 15300.0 / 8370, 12540.0 / 8370},   // heights the steps leave out
    FitCase{1366, 360, 300, 560, 5340.0 / 4890, 5340.0 / 4890}),
    [](const ::testing::TestParamInfo<FitCase>& p) { return std::to_string(p.param.width) + "x" + std::to_string(p.param.height); });

TEST(StartUpFit, FailedScreenMetricsKeepNormalSize)
{
    EXPECT_EQ(std::pair(dialFit(0, 0).scale, dialFit(0, 0).framedScale), std::pair(1.0, 1.0));
}

TEST(Caption, VersionRunsMinorAndRevisionTogether)
{
    EXPECT_EQ(versionText(1, 0, 12), "1.012");
    EXPECT_EQ(windowCaption(1, 2, 3), "VeloxCanMoni Ver.1.23");
}
