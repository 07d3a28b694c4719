#include "dashboard/qt/LineWidget.h"

#include "dashboard/qt/Twips.h"

#include <QEvent>
#include <QPainter>

namespace vcm {

LineWidget::LineWidget(QWidget* container)
    : QWidget(container)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    container->installEventFilter(this);
    fitContainer();
}

void LineWidget::setLine(const Line& line)
{
    line_ = line;
    update();
}

void LineWidget::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void LineWidget::setBorderWidth(int width)
{
    width_ = width;
    update();
}

void LineWidget::setDashed(bool dashed)
{
    dashed_ = dashed;
    update();
}

void LineWidget::setScale(double scale)
{
    scale_ = scale;
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(color_, std::max(1, width_), dashed_ ? Qt::DotLine : Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(twipsToPoint(line_.x1 * scale_, line_.y1 * scale_), twipsToPoint(line_.x2 * scale_, line_.y2 * scale_));
}

bool LineWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        fitContainer();
    return false;
}

void LineWidget::fitContainer()
{
    if (auto* c = parentWidget())
        setGeometry(0, 0, c->width(), c->height());
}

} // namespace vcm
