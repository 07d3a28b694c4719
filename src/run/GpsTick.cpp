#include "run/GpsTick.h"

#include "run/ReentryGuard.h"
#include "logging/GpsDecoder.h"
#include "logging/RunLog.h"

#include <string>

namespace vcm {

GpsTick::GpsTick(const MonitorSettings& settings, EventPump& pump, SerialPort& port, RunLog& log,
                 GpsState& gps, char decimalSeparator)
    : settings_(settings), pump_(pump), port_(port), log_(log), gps_(gps),
      decimalSeparator_(decimalSeparator)
{
}

void GpsTick::onTimer()
{
    if (!settings_.EnableGPS)
        return;
    const ReentryGuard guard(inTick_);
    if (!guard.entered())
        return;
    pump_.yieldOnce();
    const std::string text = port_.isOpen() ? port_.readAll() : std::string();
    if (settings_.SuperLogFile && !text.empty())
        log_.writeGps(text);
    decodeGpsText(text, gps_, decimalSeparator_);
}

} // namespace vcm
