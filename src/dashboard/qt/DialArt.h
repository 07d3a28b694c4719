#pragma once
// The artwork of the window, drawn in code so that it is ours, sharp at any zoom, and
// built from the same formulas that place the needles: a scale mark for value v is
// drawn at the angle the needle takes for v, so the needle points at the number that
// its value label shows.
#include <QColor>
#include <QIcon>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace vcm {

// One scale of a dial: values in the units the needle routine receives (tenths of an
// ampere, tenths of a percent, raw accelerator, rpm, tenths of a degree).
struct DialScaleArt {
    struct Mark {
        double value;
        QString label;      // empty: a tick without a number
        double nudge = 0;   // degrees added to the label's angle, to part two scale ends
    };
    struct Band {
        double from, to;
        QColor color;
    };
    double cx, cy;          // centre, twips of the dial picture at normal size
    double rInner, rOuter;  // the needle's radii
    double labelRadius;     // where the numbers' centres sit
    double fontTwips;       // height of the numbers
    std::function<double(double value)> angleDegrees;
    std::vector<Mark> marks;
    std::vector<Band> bands;
};

// Size of the dial picture at normal size: 558 x 326 pixels.
constexpr double kDialWidthTwips = 8370;
constexpr double kDialHeightTwips = 4890;

// The five scales of the two dials; coolant marks in degrees Celsius or Fahrenheit.
std::vector<DialScaleArt> dialScales(bool celsius);

// Point of a scale at angle theta (degrees) and radius r: theta 0 points down, 90 left,
// 180 up, 270 right, as the needles use it.
struct TwipPoint { double x, y; };
TwipPoint pointOnDial(double cx, double cy, double r, double thetaDegrees);

// Paints both dial faces into a rectangle of the given pixel size (any zoom).
void paintDialFace(QPainter& p, double widthPx, double heightPx, bool celsius);
// The engine map: rpm 900..5000 across, injector 0..1600 up, into a square of any size.
void paintEngineMap(QPainter& p, double widthPx, double heightPx);
// The fuel pump picture beside the tank level (38 x 40 pixels at normal size).
void paintTankPicture(QPainter& p, double widthPx, double heightPx);
// The window icon.
QIcon windowIcon();

} // namespace vcm
