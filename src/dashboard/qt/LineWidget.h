#pragma once
// A line control: a straight segment between two points of its container, with a
// colour and a pen width. It covers its whole container and lets the mouse through,
// so it draws over the dial face, the engine map or the histogram without taking room.
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
    // The form's zoom (QtView::setFormScale): the end points are drawn scaled by it.
    void setScale(double scale);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitContainer();

    Line line_;
    QColor color_{Qt::white};
    int width_ = 1;
    bool dashed_ = false;
    double scale_ = 1.0;
};

} // namespace vcm
