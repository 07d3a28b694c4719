#pragma once
// A picture control whose picture is painted in code at the widget's current size, so
// the dial faces and the engine map stay sharp when the dial panel is zoomed. The
// picture is painted once into a pixmap and kept: it is painted again only when the
// widget's size, the screen's pixel density or the painter changes (zoom, unit change),
// so a needle moving over it costs a copy of the few pixels it uncovers.
#include <QPixmap>
#include <QWidget>

#include <functional>

namespace vcm {

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, double widthPx, double heightPx)>;
    explicit PictureWidget(QWidget* parent, Painter painter = {});
    void setPainter(Painter painter);

    // How many times the picture has been painted (the cache rebuilt).
    int picturePaints() const { return picturePaints_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QPixmap& picture();

    Painter painter_;
    QPixmap picture_;
    int picturePaints_ = 0;
};

} // namespace vcm
