#pragma once
// Window positions are kept in twips (1/1440 inch), 15 to a pixel at normal density.
// Qt works in device-independent pixels, so a high-density screen scales them for us.
#include "common/View.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cmath>

namespace vcm {

constexpr double kTwipsPerPixel = 15.0;

inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

inline QPointF twipsToPoint(double x, double y) { return {twipsToPixels(x), twipsToPixels(y)}; }

// Whole pixels for a widget rectangle: edges are rounded, not sizes, so neighbours that
// touch in twips still touch on screen.
inline QRect twipsToRect(const Rect& r)
{
    const int left = int(std::lround(twipsToPixels(r.left)));
    const int top = int(std::lround(twipsToPixels(r.top)));
    const int right = int(std::lround(twipsToPixels(r.left + r.width)));
    const int bottom = int(std::lround(twipsToPixels(r.top + r.height)));
    return {left, top, right - left, bottom - top};
}

inline Rect rectToTwips(const QRect& r)
{
    return {pixelsToTwips(r.x()), pixelsToTwips(r.y()), pixelsToTwips(r.width()), pixelsToTwips(r.height())};
}

// Colour numbers are 0x00BBGGRR.
inline QColor toQColor(Color c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

inline Color fromQColor(const QColor& q)
{
    return rgb(unsigned(q.red()), unsigned(q.green()), unsigned(q.blue()));
}

} // namespace vcm
