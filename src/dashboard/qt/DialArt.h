#pragma once
// The artwork of the window, drawn in code so that it is ours, sharp at any zoom, and
// built from the same formulas that place the needles: a scale mark for value v is
// drawn at the angle the needle takes for v, so the needle points at the number that
// its value label shows.
#include "dashboard/NeedleGeometry.h"

#include <QColor>
#include <QIcon>
#include <QString>

#include <vector>

class QPainter;

namespace vcm {

// How one gauge's scale is drawn: its marks come from the gauge geometry; here only
// where the numbers sit and the colour bands (in the driver's units, like the marks).
struct DialScaleArt {
    struct Band {
        double from, to;
        QColor color;
    };
    Gauge gauge;
    double labelRadius;     // where the numbers' centres sit, twips
    double fontTwips;       // height of the numbers
    std::vector<ScaleMark> marks;
    std::vector<Band> bands;
    QColor numberColor;     // tinted per gauge, so two scales sharing a dial read apart
};

// Size of the dial picture at normal size: 558 x 326 pixels.
constexpr double kDialWidthTwips = 8370;
constexpr double kDialHeightTwips = 4890;

// The dial background; the window uses it too, so the dials blend into the dashboard.
inline const QColor kDialFaceColor{14, 17, 22};

// The five scales of the two dials; coolant marks in degrees Celsius or Fahrenheit.
std::vector<DialScaleArt> dialScales(bool celsius);


// Paints both dial faces into a rectangle of the given pixel size (any zoom).
void paintDialFace(QPainter& p, double widthPx, double heightPx, bool celsius);
// The engine map: rpm 900..5000 across, injector 0..1600 up, into a square of any size.
void paintEngineMap(QPainter& p, double widthPx, double heightPx);
// The fuel pump picture beside the tank level (38 x 40 pixels at normal size).
void paintTankPicture(QPainter& p, double widthPx, double heightPx);
// The window icon.
QIcon windowIcon();

} // namespace vcm
