#pragma once
// The unit labels and the Unit menu's check marks in line with the units shown:
//   metric: SpeedUnit "km/h", check on m_Metric   US: SpeedUnit "mph", check on m_us
//   Celsius: BattTempUnit and CoolantTempUnit "°C", check on m_Celsius
//   Fahrenheit: the same labels "°F", check on m_Fahrenheit
#include "dashboard/qt/View.h"
#include "dashboard/UnitChoice.h"

namespace vcm {

void showUnitLabels(View& view, Units units);

} // namespace vcm
