#include "link/qt/MonitorTimers.h"

#include "link/Monitor.h"

namespace vcm {

MonitorTimers::MonitorTimers(Monitor& monitor, QObject* parent) : QObject(parent)
{
    connect(&main_, &QTimer::timeout, this, [&monitor] { monitor.onMainTimer(); });
    connect(&gps_, &QTimer::timeout, this, [&monitor] { monitor.onGpsTimer(); });
    main_.setTimerType(Qt::PreciseTimer);
    main_.start(Monitor::MainTimerMs);
    gps_.start(Monitor::GpsTimerMs);
}

} // namespace vcm
