#include "dashboard/qt/PictureWidget.h"

#include <QPainter>

namespace vcm {

PictureWidget::PictureWidget(QWidget* parent, Painter painter)
    : QWidget(parent), painter_(std::move(painter))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::setPainter(Painter painter)
{
    painter_ = std::move(painter);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (painter_)
        painter_(p, width(), height());
}

} // namespace vcm
