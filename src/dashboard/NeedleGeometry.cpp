#include "dashboard/NeedleGeometry.h"

#include "common/Format.h"

#include <cmath>

namespace vcm {

double currentDeflection(int a)
{
    if (a >= -100 && a <= 100) return a * 10.0;
    if (a > 1500) return 3000;
    if (a < -1500) return -3000;
    if (a > 100) return roundHalfEven((a - 100) * 1.4 + 1000);
    return roundHalfEven((a + 100) * 1.4 - 1000);
}

double currentAngle(int currentTenths) { return currentDeflection(currentTenths) * 0.03 + 180; }

double socAngle(int socTenths)
{
    const double v = socTenths < 300 ? 300 : socTenths;
    return (v - 300) * 1.5 / 10 - 90;
}

int accelStep(int pedalRaw) { return pedalRaw < 11 ? pedalRaw : pedalRaw / 2 * 2; }

double accelAngle(double step)
{
    const double a = step < 11 ? step * 3 : (step - 10) * 60 / 190 + 30;
    return 90 - a;
}

double rpmAngle(double rpm)
{
    if (rpm <= 2000) return (rpm - 900) / 11.6 + 114;
    return (rpm - 2000) / 23 + 208;
}

double coolantAngle(double tenthsCelsius) { return 48 - tenthsCelsius / 13.5; }

double coolantTenthsCelsius(double tenths, bool celsius) { return celsius ? tenths : (tenths - 320) * 5 / 9; }

Point dialPoint(const Dial& dial, double angleDegrees, double radius, double dialScale)
{
    const double t = angleDegrees * GaugePi / 180;
    return {dialScale * (dial.cx - radius * std::sin(t)), dialScale * (dial.cy + radius * std::cos(t))};
}

Line needleLine(const Dial& dial, double angleDegrees, double dialScale)
{
    const Point inner = dialPoint(dial, angleDegrees, dial.r1, dialScale);
    const Point outer = dialPoint(dial, angleDegrees, dial.r2, dialScale);
    return {inner.x, inner.y, outer.x, outer.y};
}

const Dial& dialOf(Gauge gauge)
{
    switch (gauge) {
    case Gauge::EngineSpeed:
    case Gauge::Coolant: return RightDial;
    default: return LeftDial;
    }
}

double scaleAngle(Gauge gauge, double value, bool celsius)
{
    switch (gauge) {
    case Gauge::Current: return currentAngle(static_cast<int>(std::lround(value * 10)));
    case Gauge::StateOfCharge: return socAngle(static_cast<int>(std::lround(value * 10)));
    case Gauge::Accelerator: return accelAngle(value * 2);
    case Gauge::EngineSpeed: return rpmAngle(value);
    case Gauge::Coolant: return coolantAngle(coolantTenthsCelsius(value * 10, celsius));
    }
    return 0;
}

std::vector<ScaleMark> scaleMarks(Gauge gauge, bool celsius)
{
    struct Marks {
        std::vector<double> numbered, minor;
    };
    Marks m;
    switch (gauge) {
    case Gauge::Current:
        m = {{-100, -50, -10, 0, 10, 50, 100}, {-150, -125, -75, -25, -5, 5, 25, 75, 125, 150}};
        break;
    case Gauge::StateOfCharge: m = {{30, 40, 50, 60, 70, 80, 90}, {35, 45, 55, 65, 75, 85}}; break;
    case Gauge::Accelerator: m = {{0, 5, 25, 50, 75}, {10, 15, 20, 37.5, 62.5, 87.5, 100}}; break;
    case Gauge::EngineSpeed: m = {{1000, 2000, 3000, 4000, 5000}, {1500, 2500, 3500, 4500}}; break;
    case Gauge::Coolant:
        m = celsius ? Marks{{40, 60, 80, 100}, {50, 70, 90, 110}} : Marks{{100, 140, 180, 220}, {120, 160, 200}};
        break;
    }
    std::vector<ScaleMark> marks;
    for (double v : m.numbered) marks.push_back({v, formatNumber(v, NumberPattern::Whole, '.'), scaleAngle(gauge, v, celsius)});
    for (double v : m.minor) marks.push_back({v, {}, scaleAngle(gauge, v, celsius)});
    return marks;
}

} // namespace vcm
