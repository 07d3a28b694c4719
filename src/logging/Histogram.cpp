#include "Histogram.h"

#include "common/Format.h"
#include "decode/Units.h"

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

constexpr double ConsumptionScale = 10;

// The smallest of the round scales that holds the largest value.
double roundScaleFor(double largest)
{
    for (double scale : {10.0, 20.0, 50.0, 100.0, 200.0, 500.0})
        if (largest <= scale) return scale;
    return 1000;
}
constexpr int ShareCount = 4;

// The value a trip view shows for one stored trip; 0 when the divisor is 0.
double tripValue(const StoredTrip& t, int mode)
{
    switch (mode) {
    case 1: return t.distanceM == 0 ? 0 : t.fuelMl * 100 / t.distanceM;
    case 2: return t.seconds == 0 ? 0 : t.fuelMl * units::PerHourPerThousandthPerSecond / t.seconds;
    case 3: return t.seconds == 0 ? 0 : t.distanceM * units::PerHourPerThousandthPerSecond / t.seconds;
    default: return 0;
    }
}

} // namespace

BarKind shareBarKind(int share)
{
    return static_cast<BarKind>(static_cast<int>(BarKind::ShareThermal) + std::clamp(share, 0, ShareCount - 1));
}

HistogramModel::HistogramModel(char decimalSeparator, HistogramLayout layout)
    : decimalSeparator_(decimalSeparator), layout_(layout)
{
    rebuild();
}

void HistogramModel::setLayout(const HistogramLayout& layout)
{
    layout_ = layout;
    rebuild();
}

void HistogramModel::loadFromTripFile(const TripFileContent& content)
{
    minutes_ = {};
    for (std::size_t m = 0; m < content.minuteBars.size() && m < minutes_.size(); ++m)
        minutes_[m] = {content.minuteBars[m], BarKind::StoredMinute, true};
    trips_.clear();
    for (const std::string& line : content.tripLines)
        if (auto trip = parseTripLine(line)) trips_.push_back(*trip);
    fileBarBoundary_ = 29;
    rebuild();
}

void HistogramModel::minuteStep(double intervalConsumption)
{
    if (fileBarBoundary_ >= 0) --fileBarBoundary_;
    for (int k = 0; k < BarCount - 1; ++k) {
        minutes_[k].value = minutes_[k + 1].value;
        minutes_[k].present = minutes_[k + 1].present;
        // Bars that came from the trip file keep their kind.
        if (k > fileBarBoundary_) minutes_[k].kind = k % 2 == 0 ? BarKind::NewMinuteEven : BarKind::NewMinuteOdd;
    }
    minutes_[BarCount - 1] = {intervalConsumption, BarKind::NewMinuteOdd, true};
    rebuild();
}

void HistogramModel::advanceView()
{
    mode_ = (mode_ + 1) % 5;
    if (mode_ == 0)
        for (auto& m : minutes_) m.kind = BarKind::StoredMinute;
    rebuild();
}

std::array<double, 30> HistogramModel::minuteBarValues() const
{
    std::array<double, 30> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = minutes_[i].present ? minutes_[i].value : 0;
    return values;
}

std::string HistogramModel::axisLabel() const { return mode_ == 0 ? "Mn" : "Traj."; }

std::string HistogramModel::unitLabel() const
{
    switch (mode_) {
    case 2: return "L/Heure";
    case 3: return "km/h";
    case 4: return "%Répart";
    default: return "L/100km";
    }
}

double HistogramModel::plotHeight() const { return std::round(layout_.height); }

void HistogramModel::placeBar(HistogramBar& bar, int position, double value) const
{
    const double h = plotHeight();
    bar.left = layout_.left + position * layout_.barWidth;
    bar.width = layout_.barWidth;
    bar.height = value <= 0 ? 0 : std::min(h, h * value / fullScale_);
    bar.top = layout_.top + h - bar.height;
}

void HistogramModel::rebuild()
{
    ++revision_;
    bars_.assign(mode_ == 4 ? MaxBars : BarCount, HistogramBar{});
    const std::size_t shown = std::min<std::size_t>(trips_.size(), BarCount);
    fullScale_ = ConsumptionScale;
    if (mode_ == 4) {
        fullScale_ = 100; // percent
    } else if (mode_ != 0) {
        double largest = 0;
        for (std::size_t j = trips_.size() - shown; j < trips_.size(); ++j)
            largest = std::max(largest, tripValue(trips_[j], mode_));
        fullScale_ = roundScaleFor(largest);
    }
    for (int i = 0; i < BarCount; ++i) placeBar(bars_[i], i, 0);

    if (mode_ == 0) {
        for (int i = 0; i < BarCount; ++i) {
            const MinuteBar& m = minutes_[i];
            HistogramBar& bar = bars_[i];
            if (!m.present) continue;
            placeBar(bar, i, m.value);
            bar.caption = formatNumber(m.value, NumberPattern::OneDecimal, decimalSeparator_);
            bar.kind = m.kind;
            bar.visible = true;
        }
        return;
    }

    // The newest stored trips, the newest on the right.
    const int firstPosition = BarCount - static_cast<int>(shown);
    for (std::size_t j = 0; j < shown; ++j) {
        const StoredTrip& trip = trips_[trips_.size() - shown + j];
        const int position = firstPosition + static_cast<int>(j);
        if (mode_ != 4) {
            HistogramBar& bar = bars_[position];
            const double v = tripValue(trip, mode_);
            placeBar(bar, position, v);
            bar.caption = formatNumber(v, NumberPattern::OneDecimal, decimalSeparator_);
            bar.kind = BarKind::Trip;
            bar.visible = true;
            continue;
        }
        // Four shares stacked from the base line: thermal at the bottom, glide on top.
        const double h = plotHeight();
        double stacked = 0;
        for (int s = 0; s < ShareCount; ++s) {
            HistogramBar& bar = bars_[BarCount + ShareCount * position + s];
            const double part = std::clamp(h * trip.shares[s] / 100, 0.0, h - stacked);
            bar.left = layout_.left + position * layout_.barWidth;
            bar.width = layout_.barWidth;
            bar.height = part;
            bar.top = layout_.top + h - stacked - part;
            bar.kind = shareBarKind(s);
            bar.visible = true;
            stacked += part;
        }
    }
}

bool MinuteClock::step(DateTime runStart, DateTime now, double fuelAccumulator, double distanceAccumulator)
{
    const std::int64_t minutes = DateTime::minuteBoundariesBetween(runStart, now);
    const auto mm = static_cast<std::int32_t>(((minutes % 60) + 60) % 60);
    if (mm == lastMinute_) return false;
    intervalConsumption_ = distanceAccumulator == intervalDistanceStart_
                               ? 0
                               : units::litresPer100Km(fuelAccumulator - intervalFuelStart_,
                                                       distanceAccumulator - intervalDistanceStart_);
    intervalFuelStart_ = fuelAccumulator;
    intervalDistanceStart_ = distanceAccumulator;
    lastMinute_ = mm;
    return true;
}

} // namespace vcm
