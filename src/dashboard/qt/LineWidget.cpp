#include "dashboard/qt/LineWidget.h"

#include "dashboard/qt/Twips.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vcm {

LineWidget::LineWidget(QWidget* container)
    : QWidget(container)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    fitSegment();
}

void LineWidget::setLine(const Line& line)
{
    line_ = line;
    fitSegment();
    update();
}

void LineWidget::setColor(const QColor& color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void LineWidget::setBorderWidth(int width)
{
    width_ = width;
    fitSegment();
    update();
}

void LineWidget::setScale(double scale)
{
    scale_ = scale;
    fitSegment();
    update();
}

QPointF LineWidget::end(int which) const
{
    return which == 0 ? twipsToPoint(line_.x1 * scale_, line_.y1 * scale_)
                      : twipsToPoint(line_.x2 * scale_, line_.y2 * scale_);
}

void LineWidget::setVisible(bool visible)
{
    // Qt's own show of the line (with its container, or once created at run time) goes on.
    if (visible && !isVisible())
        QWidget::setVisible(true);
    if (visible == shown_)
        return;
    shown_ = visible;
    update();
}

void LineWidget::fitSegment()
{
    const QPointF a = end(0), b = end(1);
    // Half the pen, its round caps, and a pixel of anti-aliasing on each side.
    const double margin = std::max(1, width_) / 2.0 + 2;
    const QRectF box = QRectF(a, b).normalized().adjusted(-margin, -margin, margin, margin);
    const int left = int(std::floor(box.left())), top = int(std::floor(box.top()));
    QRect fit(left, top, int(std::ceil(box.right())) - left, int(std::ceil(box.bottom())) - top);
    // A line along its picture's edge keeps inside the picture, as the picture clips it anyway.
    if (const QWidget* container = parentWidget(); container && !container->rect().isEmpty())
        fit &= container->rect();
    setGeometry(fit);
}

void LineWidget::paintEvent(QPaintEvent*)
{
    if (!shown_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(color_, std::max(1, width_), Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    // The segment is drawn in the container's coordinates, as it was given.
    p.translate(-QPointF(pos()));
    p.drawLine(end(0), end(1));
}

} // namespace vcm
