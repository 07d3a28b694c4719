#pragma once
// The two timers of the acquisition loop, running from the moment they are created:
// Timer1 every 100 ms and GPSTimer every 2050 ms, on the Qt event loop.
#include <QObject>
#include <QTimer>

namespace vcm {

class Ticks;

class MonitorTimers final : public QObject {
    Q_OBJECT
public:
    explicit MonitorTimers(Ticks& ticks, QObject* parent = nullptr);

private:
    QTimer main_;
    QTimer gps_;
};

} // namespace vcm
