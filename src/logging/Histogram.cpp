#include "Histogram.h"

namespace vcm {

HistogramModel::HistogramModel(char decimalSeparator, HistogramLayout layout)
    : decimalSeparator_(decimalSeparator), layout_(layout) {}
void HistogramModel::setLayout(const HistogramLayout& layout) { layout_ = layout; }
void HistogramModel::loadFromTripFile(const TripFileContent&) {}
void HistogramModel::minuteStep(double) {}
void HistogramModel::advanceView() {}
std::array<double, 30> HistogramModel::minuteBarValues() const { return {}; }
std::string HistogramModel::axisLabel() const { return {}; }
std::string HistogramModel::unitLabel() const { return {}; }
void HistogramModel::rebuild() {}
void HistogramModel::placeBar(HistogramBar&, int, double) const {}
void showHistogram(const HistogramModel&, View&) {}
void showTripTotals(const TripTotals&, View&, char) {}
bool MinuteClock::step(DateTime, DateTime, double, double) { return false; }

} // namespace vcm
