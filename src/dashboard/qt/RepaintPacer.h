#pragma once
// Holds a window's redraws to a steady frame rate. Values reach the widgets at once (a
// label's text, a needle's end points are set when the decoder calls), but the window
// paints what changed at most once per frame: a needle that moves 125 times a second
// is drawn where it stands at each frame, as the eye would see it anyway.
//
// Qt gathers a window's dirty regions and paints them when the window's UpdateRequest
// event arrives. The pacer holds back a request that comes sooner than one frame after
// the last redraw and posts it again when the frame is due, so the regions of many
// updates are painted in one pass. Exposure and resizing are not held back.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace vcm {

class RepaintPacer final : public QObject {
    Q_OBJECT
public:
    // Paces window (a top-level widget) to one redraw every frameMs.
    RepaintPacer(QWidget* window, int frameMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseHeldRequest();

    QWidget* window_;
    int frameMs_;
    QElapsedTimer sinceRedraw_;
    QTimer due_;
};

} // namespace vcm
