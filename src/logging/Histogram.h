#pragma once
// The consumption histogram as a model: 30 bars (150 in the energy-share view), each
// with caption, geometry in twips, kind and visibility, so the window only draws it
// (the window picks each kind's colour).
//
// Views (HistMode), advanced by the space bar:
//   0 "Mn"    / "L/100km"  per-minute consumption, bar 29 the newest minute
//   1 "Traj." / "L/100km"  per stored trip: fuel x 100 / distance
//   2 "Traj." / "L/Heure"  per stored trip: fuel x 3.6 / seconds
//   3 "Traj." / "km/h"     per stored trip: distance x 3.6 / seconds
//   4 "Traj." / "%Répart"  per stored trip: four stacked energy shares (bars 30..149)
// The per-minute series keeps growing whatever view is shown; view 0 shows it again.
// Full scale is 10 units in the consumption views: height = H x v / full scale, capped
// at H, 0 below 0; bars stand on the plot's bottom line (top = T + H - height). The
// trip views grow it to the next of 10, 20, 50, 100, 200, 500 that holds every bar (an
// average speed of 62 km/h on a 100 scale), the share view is 0-100 %; the scale
// figures on both sides of the plot follow.
#include "TripFile.h"
#include "common/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vcm {

// What a bar stands for; the four share kinds are in share order (see shareBarKind).
enum class BarKind {
    StoredMinute,  // minute bars from the trip file, view 0
    NewMinuteEven, // minutes of this run, even index
    NewMinuteOdd,  // minutes of this run, odd index and the newest
    Trip,          // trip views
    ShareThermal,
    ShareElectric,
    ShareRegeneration,
    ShareGlide,
};

struct HistogramBar {
    std::string caption;
    double left = 0, top = 0, width = 0, height = 0; // twips
    BarKind kind = BarKind::StoredMinute;
    bool visible = false;
};

// Plot geometry from the window layout: left of bar 0, bar width (and step), top T and
// height H of the plot.
struct HistogramLayout {
    double left = 0;
    double barWidth = 480;
    double top = 0;
    double height = 3000;
};

class HistogramModel {
public:
    static constexpr int BarCount = 30;
    static constexpr int MaxBars = 150;

    explicit HistogramModel(char decimalSeparator = '.', HistogramLayout layout = {});

    void setLayout(const HistogramLayout& layout);
    const HistogramLayout& layout() const { return layout_; }

    // Start-up: the minute bars of the trip file (StoredMinute, boundary at 29) and the
    // stored trips the trip views are computed from.
    void loadFromTripFile(const TripFileContent& content);

    // One histogram minute: shifts the series one bar left and adds the new minute.
    void minuteStep(double intervalConsumption);

    // Space bar: next view (4 -> 0).
    void advanceView();
    int mode() const { return mode_; }

    // The per-minute values to store at shutdown (oldest first, as shown in view 0).
    std::array<double, 30> minuteBarValues() const;
    int fileBarBoundary() const { return fileBarBoundary_; }

    // Bars to draw: 30, or 150 in view 4.
    const std::vector<HistogramBar>& bars() const { return bars_; }
    std::string axisLabel() const;   // under the bars: "Mn" or "Traj."
    std::string unitLabel() const;   // above the scale: "L/100km", "km/h"...
    bool legendVisible() const { return mode_ == 4; }
    double fullScale() const { return fullScale_; }
    // Goes up whenever what the histogram shows changes.
    std::uint32_t revision() const { return revision_; }

private:
    struct MinuteBar {
        double value = 0;
        BarKind kind = BarKind::StoredMinute;
        bool present = false;
    };
    void rebuild();
    double plotHeight() const;
    void placeBar(HistogramBar& bar, int position, double value) const;

    char decimalSeparator_;
    HistogramLayout layout_;
    std::array<MinuteBar, 30> minutes_{};
    std::vector<StoredTrip> trips_;
    int fileBarBoundary_ = 29;
    int mode_ = 0;
    double fullScale_ = 10;
    std::string axisLabel_ = "Mn";
    std::vector<HistogramBar> bars_;
    std::uint32_t revision_ = 0;
};

// Kind of an energy share's bar in view 4 (0 thermal, 1 electric, 2 regeneration, 3
// glide), also for the legend labels "%Therm.", "%Elec.", "%Récup.", "%Glide".
BarKind shareBarKind(int share);

// The clock's minute steps of the histogram (main tick, while running): true once per
// change of the minute-of-hour counted from runStart, with the consumption of the
// interval since the previous step (litres per 100 km, 0 without distance).
class MinuteClock {
public:
    bool step(DateTime runStart, DateTime now, double fuelAccumulator, double distanceAccumulator);
    double intervalConsumption() const { return intervalConsumption_; }
    std::int32_t lastMinute() const { return lastMinute_; }
    // Acquisition starts again with the integrators at zero: the next interval starts there
    // too, instead of measuring against the previous run's totals.
    void restartInterval()
    {
        intervalFuelStart_ = 0;
        intervalDistanceStart_ = 0;
    }

private:
    std::int32_t lastMinute_ = 0;
    double intervalFuelStart_ = 0;
    double intervalDistanceStart_ = 0;
    double intervalConsumption_ = 0;
};

} // namespace vcm
