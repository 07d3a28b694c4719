#include "dashboard/qt/DashboardRenderer.h"

#include "dashboard/NeedleGeometry.h"
#include "dashboard/qt/QtView.h"
#include "decode/DecoderSink.h"
#include "common/Format.h"
#include "logging/Histogram.h"

#include <string_view>
#include <utility>

namespace vcm {
namespace {

using Text = Field<std::string>;

// Which label shows which figure.
constexpr std::pair<Text Dashboard::*, std::string_view> Figures[] = {
    {&Dashboard::speed, "SpeedValue"},          {&Dashboard::distance, "DistanceValue"},
    {&Dashboard::tripTime, "CarTimeValue"},     {&Dashboard::averageSpeed, "VmoyValue"},
    {&Dashboard::rpm, "RpmValue"},              {&Dashboard::efficiency, "RendementValue"},
    {&Dashboard::mg1Rpm, "RpMg1VAlue"},         {&Dashboard::torque, "CoupleThValue"},
    {&Dashboard::enginePower, "ThermkwValue"},  {&Dashboard::consumption, "MpgValue"},
    {&Dashboard::litres, "LitresValue"},        {&Dashboard::tripConsumption, "ConsoSp95Value"},
    {&Dashboard::tank, "TankValue"},            {&Dashboard::current, "CurrentValue"},
    {&Dashboard::soc, "StateValue"},            {&Dashboard::voltage, "BattVoltValue"},
    {&Dashboard::batteryPower, "BattKwValue"},  {&Dashboard::batteryPowerUnit, "BattkwUnit"},
    {&Dashboard::batteryTemp, "BattTempValue"}, {&Dashboard::coolant, "CoolantTempValue"},
    {&Dashboard::mgTemp, "MgTempValue"},        {&Dashboard::outsideTemp, "ExtTempValue"},
    {&Dashboard::accel, "AccValue"},            {&Dashboard::brake, "BrakeValue"},
    {&Dashboard::clock, "NowValue"},            {&Dashboard::gpsAltitude, "GpsAltitudeValue"},
    {&Dashboard::gpsGain, "DenivValue"},
};
// In DecoderLabel order.
constexpr std::string_view DecoderLabels[kDecoderLabelCount] = {"VolantValue", "LitrehValue", "TemperThValue",
    "vMg1Value", "VVtiValue", "MaxChrgValue", "MaxDchrgValue", "TempMg2Value"};
constexpr std::string_view ShareLabels[5] = {"PourcenTherValue", "PourcenElecValue", "PourcenGlideValue",
                                             "PourcenRecupValue", "PourcenArretValue"};

struct NeedleControl {
    Field<NeedleState> NeedleSet::*needle;
    std::string_view name;
    const Dial& dial;
};
const NeedleControl NeedleControls[] = {
    {&NeedleSet::current, "AiguilleAmp", LeftDial}, {&NeedleSet::soc, "AiguilleSoc", LeftDial},
    {&NeedleSet::accel, "AiguilleAcc", LeftDial},   {&NeedleSet::rpm, "AiguilleRpm", RightDial},
    {&NeedleSet::coolant, "AiguilleTempTh", RightDial},
};
constexpr std::string_view LockedMenus[] = {"m_com", "m_unit", "m_ss", "m_trips"};

constexpr Color GpsFixColors[4] = {colors::SystemText, rgb(255, 0, 0), rgb(255, 128, 0), rgb(0, 255, 0)};
// Histogram bar colours, in BarKind order.
constexpr Color BarColors[] = {
    rgb(0, 255, 255),   // minute from the trip file: cyan
    rgb(255, 255, 128), // new minute, even: light yellow
    rgb(255, 255, 192), // new minute, odd: pale yellow
    rgb(128, 255, 128), // trip: light green
    rgb(255, 128, 0),   // thermal share
    rgb(0, 128, 255),   // electric share
    rgb(0, 192, 0),     // regeneration share
    rgb(192, 192, 192), // glide share
};
Color barColor(BarKind kind) { return BarColors[static_cast<std::size_t>(kind)]; }
constexpr double TrendStepTwips = 120; // one altitude step of the trend trace

bool toneColor(Tone tone, Color& color)
{
    switch (tone) {
    case Tone::Good: color = colors::Green; return true;
    case Tone::Warning: color = colors::Red; return true;
    case Tone::Cold: color = colors::Blue; return true;
    case Tone::Plain: color = colors::White; return true;
    case Tone::Normal: color = colors::SystemText; return true;
    case Tone::Design: return false;
    }
    return false;
}

Color lampColor(Lamp lamp)
{
    switch (lamp) {
    case Lamp::Lit: return colors::LightGrey;
    case Lamp::Silent: return colors::Blue;
    case Lamp::Dark: break;
    }
    return colors::LampDark;
}

} // namespace

DashboardRenderer::DashboardRenderer(QtView& view, const HistogramModel& histogram)
    : view_(view), histogram_(histogram)
{
}

void ViewNotices::tell(std::string_view title, std::string_view text, MessageIcon icon)
{
    view_.showMessage(title, text, icon);
}

void DashboardRenderer::render(const Dashboard& d)
{
    for (const auto& [part, name] : Figures)
        if ((d.*part).revision != (drawn_.*part).revision) {
            view_.setText({name}, (d.*part).value);
            (drawn_.*part).revision = (d.*part).revision;
        }
    auto text = [this](const Text& now, Text& drawn, ControlRef ref) {
        if (now.revision == drawn.revision) return;
        view_.setText(ref, now.value);
        drawn.revision = now.revision;
    };
    for (std::size_t i = 0; i < d.shares.size(); ++i) text(d.shares[i], drawn_.shares[i], {ShareLabels[i]});
    for (std::size_t i = 0; i < d.decoderLabels.size(); ++i)
        text(d.decoderLabels[i], drawn_.decoderLabels[i], {DecoderLabels[i]});

    // Draws a part when its revision moved on.
    auto when = [](const auto& now, auto& drawn, auto draw) {
        if (now.revision == drawn.revision) return;
        draw(now.value);
        drawn.revision = now.revision;
    };
    when(d.distanceUnit, drawn_.distanceUnit,
         [this](DistanceUnit u) { view_.setText({"DistanceLabel"}, u == DistanceUnit::Kilometres ? "Km" : "Mètres"); });
    when(d.rpmUnitShown, drawn_.rpmUnitShown, [this](bool shown) { view_.setVisible({"RpmUnit"}, shown); });
    when(d.consumptionUnitShown, drawn_.consumptionUnitShown, [this](bool shown) { view_.setVisible({"MpgUnit"}, shown); });
    when(d.tankTone, drawn_.tankTone, [this](Tone tone) {
        Color c;
        if (toneColor(tone, c)) view_.setForeColor({"TankValue"}, c);
    });
    when(d.shiftSelected, drawn_.shiftSelected, [this](int selected) {
        for (int i = 0; i < 5; ++i) view_.setForeColor({"ShiftStatus", i}, i == selected ? colors::Green : colors::SystemText);
    });
    when(d.gpsFix, drawn_.gpsFix, [this](int fix) { view_.setForeColor({"GpsAltitudeLabel"}, GpsFixColors[fix & 3]); });
    when(d.altitudeTrend, drawn_.altitudeTrend, [this](const std::array<int, 3>& t) { drawAltitudeTrend(t); });
    when(d.lamp, drawn_.lamp, [this](Lamp lamp) { view_.setBackColor({"CommStatus", 0}, lampColor(lamp)); });
    when(d.run, drawn_.run, [this](RunState run) { drawRun(run); });
    when(d.adapterError, drawn_.adapterError, [this](bool shown) { view_.setVisible({"ErreurCan"}, shown); });
    drawNeedles(d, false);
    when(d.map, drawn_.map, [this](const MapMark& mark) { drawMap(mark); });
    // Read from the model itself: the space bar changes it between two snapshots.
    if (histogram_.revision() != histogramDrawn_) {
        drawHistogram();
        histogramDrawn_ = histogram_.revision();
    }
}

void DashboardRenderer::redrawNeedles(const Dashboard& d)
{
    drawNeedles(d, true);
    if (d.map.revision != 0) drawMap(d.map.value);
}

// Hide, colour, move, show: the line never flashes at a half-updated position.
void DashboardRenderer::drawNeedles(const Dashboard& d, bool all)
{
    for (const NeedleControl& n : NeedleControls) {
        const Field<NeedleState>& now = d.needles.*n.needle;
        Field<NeedleState>& drawn = drawn_.needles.*n.needle;
        if (now.revision == 0 || (!all && now.revision == drawn.revision)) continue;
        drawn.revision = now.revision;
        view_.setVisible({n.name}, false);
        if (!now.value.shown) continue;
        Color c;
        if (toneColor(now.value.tone, c)) view_.setForeColor({n.name}, c);
        view_.setLine({n.name}, needleLine(n.dial, now.value.angle, d.dialScale));
        view_.setVisible({n.name}, true);
    }
}

// The cross-hair lies in twips of CartoBmp: CartoLineH.X1 is the map's left edge,
// CartoLineV.Y1 its top edge.
void DashboardRenderer::drawMap(const MapMark& mark)
{
    view_.setVisible({"CartoLineV"}, false);
    view_.setVisible({"CartoLineH"}, false);
    view_.setVisible({"CartoBmp"}, mark.inRange);
    if (!mark.inRange) return;
    const Rect map = view_.geometry({"CartoBmp"});
    Line vertical = view_.line({"CartoLineV"});
    Line horizontal = view_.line({"CartoLineH"});
    vertical.x1 = vertical.x2 = map.width * mark.across + horizontal.x1;
    horizontal.y1 = horizontal.y2 = map.height * mark.down + vertical.y1;
    view_.setLine({"CartoLineV"}, vertical);
    view_.setLine({"CartoLineH"}, horizontal);
    view_.setVisible({"CartoLineV"}, true);
    view_.setVisible({"CartoLineH"}, true);
}

// Three chained segments from the first one's left end: the oldest step on the left.
void DashboardRenderer::drawAltitudeTrend(const std::array<int, 3>& trend)
{
    double y = view_.line({"GpsAltiLine", 0}).y1;
    for (int i = 0; i < 3; ++i) {
        Line l = view_.line({"GpsAltiLine", i});
        l.y1 = y;
        l.y2 = y - TrendStepTwips * trend[static_cast<std::size_t>(i)];
        y = l.y2;
        view_.setLine({"GpsAltiLine", i}, l);
        view_.setVisible({"GpsAltiLine", i}, true);
    }
}

// Stopped: Start, Config and the menus; started: Stop only; running: no Config, no menus.
void DashboardRenderer::drawRun(RunState run)
{
    const bool started = run == RunState::Starting || run == RunState::Running || run == RunState::Stopping;
    const bool locked = run == RunState::Running || run == RunState::Stopping;
    view_.setVisible({"Command1", 0}, !started);
    view_.setVisible({"Command1", 1}, started);
    view_.setVisible({"Config"}, !locked);
    for (auto menu : LockedMenus) view_.setEnabled({menu}, !locked);
}

void DashboardRenderer::drawHistogram()
{
    const auto& bars = histogram_.bars();
    for (int i = 0; i < HistogramModel::MaxBars; ++i) {
        const ControlRef ref{"Histogr", i};
        if (i >= static_cast<int>(bars.size())) {
            view_.setVisible(ref, false);
            continue;
        }
        const HistogramBar& bar = bars[i];
        view_.setText(ref, bar.caption);
        view_.setBackColor(ref, barColor(bar.kind));
        view_.setGeometry(ref, {bar.left, bar.top, bar.width, bar.height});
        view_.setVisible(ref, bar.visible);
    }
    view_.setText({"HistogrLabel", 10}, histogram_.axisLabel());
    // Scale figures: full scale at the top, then 8, 6, 4, 2 tenths of it, on both sides.
    const auto figure = [this](int tenths) { return formatGeneral(histogram_.fullScale() * tenths / 10, '.'); };
    view_.setText({"HistogrLabel", 11}, figure(10));
    view_.setText({"HistogrLabel", 16}, figure(10));
    for (int i = 0; i <= 3; ++i) {
        view_.setText({"HistogrLabel", i}, figure(8 - 2 * i));
        view_.setText({"HistogrLabel", 17 + i}, figure(8 - 2 * i));
    }
    view_.setText({"HistogrLabel", 15}, histogram_.unitLabel());
    // Legends "%Glide", "%Récup.", "%Elec.", "%Therm." name the shares from the top down.
    for (int i = 0; i < 4; ++i) {
        view_.setBackColor({"HistogrLegend", i}, barColor(shareBarKind(3 - i)));
        view_.setVisible({"HistogrLegend", i}, histogram_.legendVisible());
    }
}

} // namespace vcm
