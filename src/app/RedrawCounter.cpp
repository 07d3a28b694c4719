#include "app/RedrawCounter.h"

#include <QCoreApplication>
#include <QEvent>

#include <cstdio>

namespace vcm {

RedrawCounter::RedrawCounter(QObject* window, bool printEverySecond) : QObject(window), window_(window)
{
    // Paint events go to the children: the application sees them all.
    QCoreApplication::instance()->installEventFilter(this);
    if (printEverySecond) {
        connect(&print_, &QTimer::timeout, this, [this] {
            std::fprintf(stderr, "vcm-redraws %lld\n", redraws_);
            std::fflush(stderr);
        });
        print_.start(1000);
    }
}

// A backing-store pass starts with the window's update request; it counts as a redraw
// when at least one widget is painted before the next request.
bool RedrawCounter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest && watched == window_)
        syncing_ = true;
    else if (event->type() == QEvent::Paint && syncing_) {
        syncing_ = false;
        ++redraws_;
    }
    return false;
}

} // namespace vcm
