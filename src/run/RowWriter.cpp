#include "run/RowWriter.h"

#include "common/Clock.h"
#include "logging/Histogram.h"
#include "logging/LogFormat.h"
#include "logging/RunLog.h"

namespace vcm {

RowWriter::RowWriter(const VehicleState& vehicle, const GpsState& gps, const MonitorSettings& settings,
                     const Clock& clock, const MinuteClock& minuteClock, RunLog& log, char decimalSeparator)
    : vehicle_(vehicle), gps_(gps), settings_(settings), clock_(clock), minuteClock_(minuteClock), log_(log),
      decimalSeparator_(decimalSeparator)
{
    row_.reserve(1024);
}

void RowWriter::write(DateTime now)
{
    row_.clear();
    appendLogRow(row_, LogRowInputs{vehicle_, gps_, settings_, now, clock_.tickCount(),
                                    minuteClock_.intervalConsumption(), decimalSeparator_});
    log_.writeRow(row_);
}

} // namespace vcm
