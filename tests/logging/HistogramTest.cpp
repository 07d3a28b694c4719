// The consumption histogram's model: bars restored from a trip file, minute steps and
// the four trip views. The captions the space bar steps through are checked on the
// running window (WindowKeys), the first bars of a run without a trip file in the
// session (SessionFiles.FirstMinuteBarComesAtTheClocksMinuteNotSixtySecondsLater).
#include "logging/Histogram.h"

#include "LogFiles.h"

#include <gtest/gtest.h>

using namespace vcm;
using namespace vcm::test;

namespace {

constexpr HistogramLayout Layout{600, 480, 1200, 3000};
constexpr double Base = 1200 + 3000; // bottom line of the plot

// Three stored trips: a commute, a longer run, and a cold start that never moved.
const char* const ThreeTrips =
    "C;;;1800;1580;28000\r\n"
    "M;4,5\r\nM;12,0\r\nM;0,0\r\n"
    "T;03:12:26;08:00:00;600;450;8000;57,5;40;3;55;20;10;15\r\n"
    "T;04:12:26;08:30:00;1200;1100;20000;60,0;38;0;40;30;20;10\r\n"
    "T;05:12:26;09:00:00;0;30;0;61,0;38;0;100;0;0;0\r\n";

struct HistogramFixture : ::testing::Test {
    TempFolder folder;
    DiskFileSystem fs;
    HistogramModel model{'.', Layout};

    void start(const std::string& tripFileText)
    {
        folder.write("TRAJETS.CSV", tripFileText);
        TripStore store(fs, folder.path(), '.');
        model.loadFromTripFile(store.load());
    }
    void press() { model.advanceView(); } // space bar
    const HistogramBar& bar(int i) const { return model.bars()[static_cast<std::size_t>(i)]; }
    std::vector<int> visibleBars() const
    {
        std::vector<int> out;
        for (std::size_t i = 0; i < model.bars().size(); ++i)
            if (model.bars()[i].visible) out.push_back(static_cast<int>(i));
        return out;
    }
};

} // namespace

TEST_F(HistogramFixture, StartUpShowsTheSavedMinutes)
{
    start(ThreeTrips);
    EXPECT_EQ(visibleBars(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(bar(0).caption + " " + bar(1).caption, "4.5 12.0");
    EXPECT_EQ(bar(0).kind, BarKind::StoredMinute);
    EXPECT_DOUBLE_EQ(bar(0).top, Base - 1350);
    EXPECT_DOUBLE_EQ(bar(2).left, 600 + 2 * 480);
    EXPECT_DOUBLE_EQ(bar(1).height, 3000); // capped at full scale
}

// One bar per stored trip, newest on the right, in each of the three figure views; the
// share view stacks four bars per trip.
TEST_F(HistogramFixture, TripViewsShowOneBarOrOneStackPerStoredTrip)
{
    const struct {
        const char* unit;
        std::array<const char*, 3> captions;
        std::array<double, 3> heights;
        double fullScale;
    } views[] = {
        {"L/100km", {"5.6", "5.5", "0.0"}, {1687.5, 1650, 0}, 10}, // 450 ml over 8 km, 1100 ml over 20 km
        {"L/Heure", {"2.7", "3.3", "0.0"}, {810, 990, 0}, 10},     // 450 ml in 600 s, 1100 ml in 1200 s
        {"km/h", {"48.0", "60.0", "0.0"}, {1440, 1800, 0}, 100},  // average speeds on a 100 km/h scale
        {"%Répart", {"", "", ""}, {0, 0, 0}, 100}};                  // shares of 100 %
    start(ThreeTrips);
    EXPECT_EQ(model.fullScale(), 10);
    for (const auto& c : views) {
        SCOPED_TRACE(c.unit);
        press();
        EXPECT_EQ(model.axisLabel(), "Traj.");
        EXPECT_EQ(model.fullScale(), c.fullScale);
        if (std::string(c.unit) == "%Répart") break; // the stacks: below
        EXPECT_EQ(visibleBars(), (std::vector<int>{27, 28, 29}));
        for (int t = 0; t < 3; ++t) {
            const auto& b = bar(27 + t);
            EXPECT_EQ(b.caption, c.captions[t]) << "trip " << t;
            EXPECT_DOUBLE_EQ(b.height, c.heights[t]) << "trip " << t;
            EXPECT_DOUBLE_EQ(b.top + b.height, Base);
            EXPECT_EQ(b.kind, BarKind::Trip);
        }
    }
    // Trip 1 at position 27: thermal 55 %, electric 20 %, regeneration 10 %, glide 15 %.
    const int first = 30 + 4 * 27;
    const double heights[4] = {1650, 600, 300, 450};
    double bottom = Base;
    for (int s = 0; s < 4; ++s) {
        const auto& b = bar(first + s);
        EXPECT_DOUBLE_EQ(b.height, heights[s]) << "share " << s;
        EXPECT_DOUBLE_EQ(b.top + b.height, bottom) << "share " << s;
        EXPECT_DOUBLE_EQ(b.left, 600 + 27 * 480);
        EXPECT_EQ(b.kind, shareBarKind(s));
        bottom = b.top;
    }
    EXPECT_DOUBLE_EQ(bottom, 1200); // 100 % reaches the top
    EXPECT_DOUBLE_EQ(bar(30 + 4 * 29).height, 3000); // all thermal
    EXPECT_FALSE(bar(29).visible); // the plain trip bars give way to the stacks
    EXPECT_FALSE(bar(30).visible); // positions without a trip stay empty
}

// A file without stored trips: minute steps, then trip views that stay empty.
TEST_F(HistogramFixture, MinuteStepsShiftLeftAndColourTheNewBarsAndTripViewsStayEmpty)
{
    std::string file = "C;;;0;0;0\r\n";
    for (int m = 0; m < 30; ++m) file += "M;" + std::to_string(m % 7) + ",0\r\n";
    start(file);
    model.minuteStep(12);
    model.minuteStep(5);
    model.minuteStep(-0.4); // a minute that gave fuel back reads as an empty bar

    EXPECT_EQ(model.fileBarBoundary(), 26);
    // Bar 0 is the former bar 3.
    EXPECT_EQ(bar(0).caption + " " + bar(28).caption + " " + bar(29).caption, "3.0 5.0 -0.4");
    EXPECT_EQ((std::array{bar(26).kind, bar(27).kind, bar(28).kind}), // the file's, then odd and even new minutes
              (std::array{BarKind::StoredMinute, BarKind::NewMinuteOdd, BarKind::NewMinuteEven}));
    EXPECT_DOUBLE_EQ(bar(28).top, Base - 1500);
    EXPECT_DOUBLE_EQ(bar(29).height, 0);
    for (int view = 1; view <= 4; ++view) {
        press();
        EXPECT_TRUE(visibleBars().empty()) << "view " << view;
    }
}

TEST_F(HistogramFixture, MinutesDuringATripViewAreKeptAndSaved)
{
    start(ThreeTrips);
    press(); // trip view
    model.minuteStep(6.5);
    EXPECT_EQ(bar(29).caption, "0.0"); // still the trip that never moved
    const auto saved = model.minuteBarValues(); // what shutdown would save now: 4.5 and 12 moved left by one
    EXPECT_EQ((std::array{saved[0], saved[1], saved[29]}), (std::array{12.0, 0.0, 6.5}));
    for (int i = 0; i < 4; ++i) press();
    EXPECT_EQ(bar(29).caption, "6.5");
    EXPECT_EQ(visibleBars(), (std::vector<int>{0, 1, 29}));
}

TEST(MinuteClockSteps, FirstBarAtTheFirstChangeOfTheClockMinute)
{
    MinuteClock clock;
    const DateTime runStart = DateTime::fromCivil({2026, 12, 4, 9, 10, 40});
    auto at = [](int h, int m, int s) { return DateTime::fromCivil({2026, 12, 4, h, m, s}); };
    EXPECT_FALSE(clock.step(runStart, at(9, 10, 55), 0, 0));
    // 20 seconds after the start, but the clock's minute changed: 1 km on 60 ml.
    const double fuel = 1296000000.0 * 60, distance = 3600.0 * 1000;
    EXPECT_TRUE(clock.step(runStart, at(9, 11, 0), fuel, distance));
    EXPECT_NEAR(clock.intervalConsumption(), 6.0, 1e-9);
    EXPECT_FALSE(clock.step(runStart, at(9, 11, 59), fuel * 2, distance * 2));
    // Standing still through the next minute: no distance, no consumption figure.
    EXPECT_TRUE(clock.step(runStart, at(9, 12, 0), fuel, distance));
    EXPECT_EQ(clock.intervalConsumption(), 0);
    EXPECT_EQ(clock.lastMinute(), 2);
}
