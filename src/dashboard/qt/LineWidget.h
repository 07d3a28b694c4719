#pragma once
// A line control: a straight segment between two points of its container, with a
// colour and a pen width. The widget covers only the box around its segment and lets
// the mouse through, so it draws over the dial face, the engine map or the histogram
// without taking room, and moving it repaints only the ground it leaves and reaches.
#include "common/View.h"

#include <QColor>
#include <QWidget>

namespace vcm {

class LineWidget : public QWidget {
    Q_OBJECT
public:
    explicit LineWidget(QWidget* container);

    // End points in twips of the container's coordinates.
    void setLine(const Line& line);
    const Line& line() const { return line_; }
    void setColor(const QColor& color);
    QColor color() const { return color_; }
    // Pen width in pixels (the line's BorderWidth); at least one pixel is drawn.
    void setBorderWidth(int width);
    int borderWidth() const { return width_; }
    void setDashed(bool dashed);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Fits the widget to the segment's box, pen and anti-aliasing included.
    void fitSegment();

    Line line_;
    QColor color_{Qt::white};
    int width_ = 1;
    bool dashed_ = false;
};

} // namespace vcm
