#include "dashboard/qt/RepaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vcm {

RepaintPacer::RepaintPacer(QWidget* window, int frameMs) : QObject(window), window_(window), frameMs_(frameMs)
{
    due_.setSingleShot(true);
    due_.setTimerType(Qt::PreciseTimer);
    connect(&due_, &QTimer::timeout, this, &RepaintPacer::releaseHeldRequest);
    window_->installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::UpdateRequest)
        return false;
    const qint64 since = sinceRedraw_.isValid() ? sinceRedraw_.elapsed() : frameMs_;
    if (since >= frameMs_) {
        sinceRedraw_.start();
        return false; // painted now
    }
    // Qt posts no further request while this one is outstanding; the dirty regions of the
    // updates to come join the ones waiting and are painted together at the frame.
    if (!due_.isActive())
        due_.start(int(frameMs_ - since));
    return true;
}

void RepaintPacer::releaseHeldRequest()
{
    QCoreApplication::postEvent(window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

} // namespace vcm
