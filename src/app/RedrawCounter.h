#pragma once
// Counts the window's redraws, for measuring what the live dashboard costs: one redraw
// is one pass of the window's backing store that painted something. With
// VCM_REDRAW_STATS=1 in the environment the program prints "vcm-redraws N" (the total
// so far) to standard error once a second (tools/livecost reads it).
#include <QObject>
#include <QTimer>

namespace vcm {

class RedrawCounter final : public QObject {
    Q_OBJECT
public:
    // Counts the redraws of window; prints once a second when printEverySecond.
    RedrawCounter(QObject* window, bool printEverySecond);
    long long redraws() const { return redraws_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* window_;
    QTimer print_;
    bool syncing_ = false;
    long long redraws_ = 0;
};

} // namespace vcm
