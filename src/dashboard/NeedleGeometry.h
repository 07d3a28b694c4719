#pragma once
// Where the five needles point. One angle formula per gauge, used both to place the
// needle and to draw the numbered marks of the dial faces, so a needle always points at
// the number its label shows.
//
// Angles are in degrees, 0 pointing straight down, 90 left, 180 up, 270 right:
// a point at angle t and radius r of a dial centred on (cx, cy) lies at
// (cx - r sin t, cy + r cos t), in twips of the dial panel at normal size.
// Example: the current needle for 10.0 A (100 tenths) has deflection 1000, angle
// 1000 x 0.03 + 180 = 210 degrees: 30 degrees right of straight up.
#include "common/Shapes.h"

#include <string>
#include <vector>

namespace vcm {

// The value of pi the gauges have always used; the needles land on the same pixels.
inline constexpr double GaugePi = 3.14159;

struct Dial {
    double cx, cy; // centre, twips of the dial panel at normal size
    double r1, r2; // the needle runs from radius r1 to radius r2
};

// Current, state of charge and accelerator.
inline constexpr Dial LeftDial{2010, 2850, 1230, 1600};
// Engine speed and coolant.
inline constexpr Dial RightDial{5920, 2440, 1580, 2040};

// Current scale: battery current in tenths of an ampere to the deflection d, linear up
// to +-10.0 A (d = a x 10) and compressed beyond (rounded), +-3000 from +-150 A on.
double currentDeflection(int currentTenths);
double currentAngle(int currentTenths);
// State of charge in tenths of a percent; below 30 % the needle rests at 30 % (right).
double socAngle(int socTenths);
// The accelerator step s the gauge shows: the raw pedal below 11, else the even value at
// or below it.
int accelStep(int pedalRaw);
// Angle of an accelerator step s: 0 points left, 200 straight down.
double accelAngle(double step);
// Engine speed in rpm: one slope up to 2000 rpm, a flatter one above.
double rpmAngle(double rpm);
// Coolant in tenths of a degree Celsius.
double coolantAngle(double tenthsCelsius);
// Coolant as the vehicle state holds it (tenths, Fahrenheit when not celsius) to tenths
// of a degree Celsius: the dial and its colour bands are in Celsius either way.
double coolantTenthsCelsius(double tenths, bool celsius);

struct Point {
    double x = 0, y = 0;
};

// The point of a dial at an angle and radius, at the given zoom.
Point dialPoint(const Dial& dial, double angleDegrees, double radius, double dialScale = 1.0);
// The needle line from r1 to r2 at an angle, at the given zoom.
Line needleLine(const Dial& dial, double angleDegrees, double dialScale);

// The five gauges, for the artwork of the dial faces.
enum class Gauge { Current, StateOfCharge, Accelerator, EngineSpeed, Coolant };

const Dial& dialOf(Gauge gauge);
// Angle of a scale value in the unit the driver reads: amperes, percent, accelerator
// figure 0..100 (as the dashboard shows it), rpm, degrees (Fahrenheit when not celsius).
double scaleAngle(Gauge gauge, double value, bool celsius = true);

struct ScaleMark {
    double value;      // in the unit of scaleAngle
    std::string label; // text of a numbered mark, empty for a minor mark
    double angle;      // degrees, from scaleAngle
};
// The marks of a dial face: every numbered mark and the minor marks between them. Ends
// that share a point with another gauge of the same dial (current -150 A with accelerator
// 0 on the left, +150 A with 30 % on the right, accelerator 100 with 90 % at the bottom)
// are minor marks, so no two numbers print on each other.
std::vector<ScaleMark> scaleMarks(Gauge gauge, bool celsius = true);

} // namespace vcm
