#include "link/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace vcm {

void QtEventPump::yieldOnce() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::waitForEvents(int maxMs)
{
    // The timer's event ends the sleep when nothing else arrives in time.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxMs > 0 ? maxMs : 0);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace vcm
