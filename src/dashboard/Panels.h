#pragma once
// The display routines: turn VehicleState into captions, colours and needle positions
// on a View. Each remembers what it showed last and skips work when nothing changed;
// needle routines redraw anyway when forced (after a zoom). The current gauge keeps
// BatteryCurrentAvg (moving average of 50 calls) and the speed display the trip time,
// so the routines run in every host, with or without a window.
//
// Needles are the line controls AiguilleAmp, AiguilleSoc, AiguilleAcc, AiguilleRpm and
// AiguilleTempTh in twips of CadransPic, multiplied by dialScale(); a needle's colour is
// its fore colour. The engine-map cross-hair CartoLineV / CartoLineH lies in twips of
// CartoBmp: CartoLineH.X1 is the map's left edge, CartoLineV.Y1 its top edge.
#include "common/Clock.h"
#include "common/Format.h"
#include "common/View.h"
#include "config/MonitorSettings.h"
#include "decode/DecoderSink.h"
#include "decode/VehicleState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vcm {

class Panels {
public:
    Panels(VehicleState& state, const MonitorSettings& settings, View& view, const Clock& clock,
           char decimalSeparator = '.');
    ~Panels();
    Panels(const Panels&) = delete;
    Panels& operator=(const Panels&) = delete;

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

    // Every panel in the main tick's order, needles not forced. The tick shows the clock
    // (NowValue) itself, from the time it read at its start.
    void refreshOnTick();
    // Redraws the five needles (and the engine map) at the current zoom. Unlike a call of
    // the current gauge it adds no sample to the current's moving average.
    void redrawNeedles();

    // The settings' units changed from these: the values behind the unit-bound figures
    // (speed, battery and coolant temperatures) were decoded in the old units, so they are
    // converted and drawn again, the coolant needle with them.
    void unitsChanged(bool wasMetric, bool wasCelsius);

    double dialScale() const { return dialScale_; }
    void setDialScale(double scale) { dialScale_ = scale; }

    // A click on CarTimeValue restarts the run clock: the time acquisition started.
    void carTimeClicked(DateTime& runStart) const { runStart = clock_.now(); }

    // The decoder's labels and display calls land here.
    DecoderSink& decoderSink();

private:
    class Sink;

    void drawCurrentNeedle();
    void showSpeedFigure();
    void drawNeedle(std::string_view name, int dialIndex, double angle, std::optional<Color> color);
    void placeEngineMapCrossHair();
    std::string number(double value, NumberPattern pattern) const;

    VehicleState& state_;
    const MonitorSettings& settings_;
    View& view_;
    const Clock& clock_;
    char decimalSeparator_;
    double dialScale_ = 1.0;
    std::unique_ptr<Sink> sink_;

    // Moving average of the battery current over the last 50 calls.
    std::array<std::int16_t, 50> currentRing_{};
    std::int32_t currentSum_ = 0;
    int currentSlot_ = 0;

    // Last values shown (zero when the window opens).
    std::int16_t shownCurrent_ = 0;
    std::int16_t shownSoc_ = 0;
    int shownAccel_ = 0;
    double shownRpm_ = 0;
    std::int16_t shownCoolant_ = 0;
    double shownConsumption_ = 0;
    std::int16_t shownVoltage_ = 0;
    double shownPower_ = 0;
    std::int16_t shownBatteryTemp_ = 0;
    std::int16_t shownTank_ = 0;
    std::int16_t shownBrake_ = 0;
    std::int16_t shownMgTemp_ = 0;
    std::int16_t shownExtTemp_ = 0;
    std::string shownShiftLever_;
};

} // namespace vcm
