#pragma once
// The display routines: turn VehicleState into captions, colours and needle positions
// on a View. Each remembers what it showed last and skips work when nothing changed;
// needle routines redraw anyway when forced (after a zoom). The current gauge keeps
// BatteryCurrentAvg (moving average of 50 calls) and the speed display the trip time,
// so the routines run in every host, with or without a window.
#include "common/Clock.h"
#include "common/View.h"
#include "config/MonitorSettings.h"
#include "decode/DecoderSink.h"
#include "decode/VehicleState.h"

namespace vcm {

class Panels {
public:
    Panels(VehicleState& state, const MonitorSettings& settings, View& view, const Clock& clock,
           char decimalSeparator = '.');

    void showAccelGauge(bool force = false);
    void showSpeedAndTrip();
    void showEngineGauge(bool force = false);
    void showConsumption();
    void showCurrentGauge(bool force = false);
    void showBatteryPower();
    void showBrake();
    void showCoolantGauge(bool force = false);
    void showBatteryTemp();
    void showSocGauge(bool force = false);
    void showShiftLever();
    void showEnginePower();
    void showMotorTemps();
    void showTankLevel();

    // Every panel in the main tick's order, needles not forced.
    void refreshOnTick();
    // Redraws the five needles at the current zoom.
    void redrawNeedles();

    double dialScale() const { return dialScale_; }
    void setDialScale(double scale) { dialScale_ = scale; }

    // The decoder's labels and display calls land here.
    DecoderSink& decoderSink();

private:
    VehicleState& state_;
    const MonitorSettings& settings_;
    View& view_;
    const Clock& clock_;
    char decimalSeparator_;
    double dialScale_ = 1.0;
};

} // namespace vcm
