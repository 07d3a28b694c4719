#pragma once
// A line by its end points and a rectangle, in twips (15 to a pixel at normal density).

namespace vcm {

struct Line {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
};

} // namespace vcm
