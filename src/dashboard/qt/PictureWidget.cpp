#include "dashboard/qt/PictureWidget.h"

#include <QEvent>
#include <QPaintEvent>
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
    picture_ = QPixmap();
    update();
}

const QPixmap& PictureWidget::picture()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QPixmap(pixels);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(palette().color(QPalette::Window));
        QPainter p(&picture_);
        if (painter_)
            painter_(p, width(), height());
        ++picturePaints_;
    }
    return picture_;
}

// The picture is painted on the window's background colour.
void PictureWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        picture_ = QPixmap();
    QWidget::changeEvent(event);
}

void PictureWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect r = event->rect();
    const QPixmap& pm = picture();
    const qreal ratio = pm.devicePixelRatio();
    p.drawPixmap(r, pm, QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
}

} // namespace vcm
