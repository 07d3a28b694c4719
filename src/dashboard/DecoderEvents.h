#pragma once
// The frame decoder's labels and display calls, routed to the dashboard model. A battery
// frame is also a sample of the current's moving average, taken before the gauge reads it.
#include "dashboard/DashboardModel.h"
#include "decode/CurrentAverage.h"
#include "decode/DecoderSink.h"

namespace vcm {

class DecoderEvents final : public DecoderSink {
public:
    DecoderEvents(DashboardModel& dashboard, CurrentAverage& average, VehicleState& vehicle)
        : dashboard_(dashboard), average_(average), vehicle_(vehicle)
    {
    }
    void setLabel(DecoderLabel label, std::string_view caption) override { dashboard_.setLabel(label, caption); }
    void showEngineGauge() override { dashboard_.showEngineGauge(false); }
    void showConsumption() override { dashboard_.showConsumption(); }
    void showCurrentGauge() override
    {
        average_.sample(vehicle_);
        dashboard_.showCurrentGauge(false);
    }
    void showAccelGauge() override { dashboard_.showAccelGauge(false); }
    void showTankLevel() override { dashboard_.showTankLevel(); }

private:
    DashboardModel& dashboard_;
    CurrentAverage& average_;
    VehicleState& vehicle_;
};

} // namespace vcm
