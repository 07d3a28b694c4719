#pragma once
// Draws the core's Dashboard snapshot into the window's widgets, found by their object
// names through the QtView (the names live here and in the window design only). After
// every receive event and tick it touches only the parts whose revision changed since
// it last drew; needles are drawn at the dial zoom the snapshot carries.
#include "common/Notices.h"
#include "dashboard/Dashboard.h"

namespace vcm {

class HistogramModel;
class QtView;

class DashboardRenderer {
public:
    DashboardRenderer(QtView& view, const HistogramModel& histogram);

    void render(const Dashboard& dashboard);
    // Every needle and the engine map again, whatever changed (after a zoom).
    void redrawNeedles(const Dashboard& dashboard);

private:
    void drawNeedles(const Dashboard& d, bool all);
    void drawMap(const MapMark& mark);
    void drawAltitudeTrend(const std::array<int, 3>& trend);
    void drawRun(RunState run);
    void drawHistogram();

    QtView& view_;
    const HistogramModel& histogram_;
    Dashboard drawn_; // revisions (only) of what was drawn last
    std::uint32_t histogramDrawn_ = 0;
};

// The core's notices as the window's message boxes.
class ViewNotices final : public Notices {
public:
    explicit ViewNotices(QtView& view) : view_(view) {}
    void tell(std::string_view title, std::string_view text, MessageIcon icon) override;

private:
    QtView& view_;
};

} // namespace vcm
