#pragma once
// A line control: a straight segment between two points of its container, with a
// colour and a pen width. The widget covers only the box around its segment and lets
// the mouse through, so it draws over the dial face, the engine map or the histogram
// without taking room, and moving it repaints only the ground it leaves and reaches.
#include "dashboard/qt/View.h"

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
    // The form's zoom (QtView::setFormScale): the end points are drawn scaled by it.
    void setScale(double scale);

    // Hiding a line only stops its drawing: the widget stays. Every gauge routine hides
    // its needle, moves it and shows it again, up to a hundred times a second; a real
    // hide and show would each make the window look again for what lies under the mouse
    // (a round trip to the display server) and repaint the whole box.
    void setVisible(bool visible) override;
    bool isLineShown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    // Fits the widget to the segment's box, pen and anti-aliasing included.
    void fitSegment();
    // An end point (0 or 1) in the container's pixels, at the form's zoom.
    QPointF end(int which) const;

    Line line_;
    QColor color_{Qt::white};
    int width_ = 1;
    bool shown_ = true;
    double scale_ = 1.0;
};

} // namespace vcm
