#pragma once
// What the dashboard shows, as the core produces it: figures as the text they read
// (number formatting is the core's), meanings instead of colours, needle angles from
// NeedleGeometry, the engine-map cross-hair as fractions of the map. The window draws
// it; a host without a window reads what it needs.
//
// Every part is a Field: its value and a revision that goes up whenever the value is
// written with something new (or redrawn on purpose). Revision 0 means never written:
// the window keeps its design there. A renderer draws a part when its revision differs
// from the one it drew last, so it touches only what changed.
#include "common/RunState.h"
#include "decode/DecoderSink.h"

#include <array>
#include <cstdint>
#include <string>

namespace vcm {

template <class T>
struct Field {
    T value{};
    std::uint32_t revision = 0;
};

// What a colour on the dashboard means; the window picks the colour.
enum class Tone {
    Design,   // as the window was designed (the needle's own colour)
    Normal,   // the window's normal text colour
    Good,     // charging, healthy charge, engine warm, selected lever position
    Warning,  // discharging, low charge, engine hot, tank nearly empty (blink on)
    Cold,     // engine still cold
    Plain,    // the tank figure between two blinks
};

struct NeedleState {
    double angle = 0; // degrees, NeedleGeometry's convention
    Tone tone = Tone::Design;
    bool shown = true;
    bool operator==(const NeedleState&) const = default;
};

// Where the cross-hair sits on the engine map: across 900..5000 rpm left to right, down
// injector 1600..0 top to bottom, both 0..1. Out of range (or zoomed): map and cross-hair hidden.
struct MapMark {
    double across = 0, down = 0;
    bool inRange = false;
    bool operator==(const MapMark&) const = default;
};

enum class DistanceUnit { Kilometres, Metres };
// The activity lamp: dark and lit alternate as text arrives; silent when no frame came.
enum class Lamp { Dark, Lit, Silent };

struct NeedleSet {
    Field<NeedleState> current, soc, accel, rpm, coolant;
};

struct Dashboard {
    using Text = Field<std::string>;

    // Speed panel and trip
    Text speed, distance, tripTime, averageSpeed;
    Field<DistanceUnit> distanceUnit;
    // Engine
    Text rpm, efficiency, mg1Rpm, torque, enginePower;
    Field<bool> rpmUnitShown;
    // Fuel
    Text consumption, litres, tripConsumption, tank;
    Field<bool> consumptionUnitShown;
    Field<Tone> tankTone;
    // Battery
    Text current, soc, voltage, batteryPower, batteryPowerUnit, batteryTemp;
    // Temperatures, pedals
    Text coolant, mgTemp, outsideTemp, accel, brake;
    // The shift lever's positions B, D, N, R, P: the selected one is Good.
    Field<int> shiftSelected{-1, 0};
    // Labels the frame decoder fills (DecoderLabel order)
    std::array<Text, kDecoderLabelCount> decoderLabels;
    // Driving shares thermal, electric, glide, regeneration, then standing
    std::array<Text, 5> shares;
    Text clock;
    // GPS: altitude, elevation gain, fix mode (0 none yet), altitude trend of the last
    // three decodes (-1 down, 0 level, +1 up; the newest last)
    Text gpsAltitude, gpsGain;
    Field<int> gpsFix;
    Field<std::array<int, 3>> altitudeTrend;
    // Activity lamp
    Field<Lamp> lamp;
    // Run state: the window's start and stop buttons, the settings button and the menus
    // follow it; the adapter error shows a failed command or a lost adapter.
    Field<RunState> run;
    Field<bool> adapterError;

    NeedleSet needles;
    Field<MapMark> map;
    // The zoom of the dial panel the needles are drawn at.
    double dialScale = 1.0;
    // Goes up when the histogram model changed (its bars, view or scale).
    std::uint32_t histogramRevision = 0;
};

} // namespace vcm
