#pragma once
// A picture control whose picture is painted in code at the widget's current size, so
// the dial faces and the engine map stay sharp when the dial panel is zoomed.
#include <QWidget>

#include <functional>

namespace vcm {

class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, double widthPx, double heightPx)>;
    explicit PictureWidget(QWidget* parent, Painter painter = {});
    void setPainter(Painter painter);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Painter painter_;
};

} // namespace vcm
