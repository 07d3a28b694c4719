#pragma once
// Window positions are kept in twips (1/1440 inch), 15 to a pixel at normal density.
// Qt works in device-independent pixels, so a high-density screen scales them for us.
#include "dashboard/qt/View.h"

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
// scale is the form's own zoom (1 at the designed size), for screens too small for it.
// Edges are first snapped to a millionth of a pixel: the same edge reached by two sums
// (one label's top plus height, the next one's top) must round to the same pixel.
inline int edgePixel(double twips, double scale)
{
    return int(std::lround(std::round(twipsToPixels(twips * scale) * 1e6) / 1e6));
}

inline QRect twipsToRect(const Rect& r, double scale = 1.0)
{
    const int left = edgePixel(r.left, scale);
    const int top = edgePixel(r.top, scale);
    const int right = edgePixel(r.left + r.width, scale);
    const int bottom = edgePixel(r.top + r.height, scale);
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
