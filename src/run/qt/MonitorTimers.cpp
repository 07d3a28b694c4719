#include "run/qt/MonitorTimers.h"

#include "run/RunInterfaces.h"

namespace vcm {

MonitorTimers::MonitorTimers(Ticks& monitor, QObject* parent) : QObject(parent)
{
    connect(&main_, &QTimer::timeout, this, [&monitor] { monitor.onMainTimer(); });
    connect(&gps_, &QTimer::timeout, this, [&monitor] { monitor.onGpsTimer(); });
    main_.setTimerType(Qt::PreciseTimer);
    main_.start(Ticks::MainTimerMs);
    gps_.start(Ticks::GpsTimerMs);
}

} // namespace vcm
