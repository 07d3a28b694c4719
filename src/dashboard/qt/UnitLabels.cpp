#include "dashboard/qt/UnitLabels.h"

namespace vcm {

void showUnitLabels(View& view, Units units)
{
    view.setText({"SpeedUnit"}, speedUnitText(units.metric));
    view.setChecked({"m_Metric"}, units.metric);
    view.setChecked({"m_us"}, !units.metric);
    view.setText({"BattTempUnit"}, temperatureUnitText(units.celsius));
    view.setText({"CoolantTempUnit"}, temperatureUnitText(units.celsius));
    view.setChecked({"m_Celsius"}, units.celsius);
    view.setChecked({"m_Fahrenheit"}, !units.celsius);
}

} // namespace vcm
