#include "app/MainFormDesign.h"

#include "dashboard/qt/DialArt.h"
#include "dashboard/qt/LineWidget.h"
#include "dashboard/qt/PictureWidget.h"
#include "dashboard/qt/Twips.h"

#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace vcm {

namespace {

const QColor kFace(14, 17, 22);
const QColor kPanel(24, 28, 35);
const QColor kCaption(170, 178, 190);
const QColor kValue(255, 255, 255);
const QColor kUnit(150, 190, 230);

// Sets a control's name, element index and designed position in twips.
template <class W>
W* named(W* w, const char* name, int index = -1)
{
    w->setObjectName(QString::fromLatin1(name));
    if (index >= 0)
        w->setProperty("index", index);
    return w;
}

void place(QWidget* w, double left, double top, double width, double height)
{
    w->setProperty("vcmTwips", QRectF(left, top, width, height));
    w->setGeometry(twipsToRect({left, top, width, height}));
}

QFont font(double points, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void colour(QWidget* w, const QColor& text)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
}

enum class Role { Value, Unit, Caption };

QLabel* label(QWidget* parent, const char* name, int index, const QString& text, Role role, double points,
              double l, double t, double w, double h)
{
    auto* lb = named(new QLabel(text, parent), name, index);
    lb->setFont(font(points, role == Role::Value));
    colour(lb, role == Role::Value ? kValue : role == Role::Unit ? kUnit : kCaption);
    lb->setAlignment(role == Role::Value ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    place(lb, l, t, w, h);
    return lb;
}

QLabel* value(QWidget* p, const char* name, double pt, double l, double t, double w, double h)
{
    return label(p, name, -1, {}, Role::Value, pt, l, t, w, h);
}
QLabel* unit(QWidget* p, const char* name, const QString& text, double pt, double l, double t, double w, double h)
{
    return label(p, name, -1, text, Role::Unit, pt, l, t, w, h);
}
QLabel* caption(QWidget* p, const char* name, int index, const QString& text, double pt, double l, double t,
                double w, double h)
{
    return label(p, name, index, text, Role::Caption, pt, l, t, w, h);
}

LineWidget* line(QWidget* container, const char* name, int index, const QColor& c, int width, Line at)
{
    auto* l = named(new LineWidget(container), name, index);
    l->setColor(c);
    l->setBorderWidth(width);
    l->setLine(at);
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, double l, double t, double w, double h)
{
    auto* f = named(new QGroupBox(title, parent), name);
    f->setFont(font(9, true));
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, kPanel);
    p.setColor(QPalette::WindowText, kCaption);
    f->setPalette(p);
    place(f, l, t, w, h);
    return f;
}

// --- the dial panel: dial faces, five needles, value, unit and caption labels ---
void buildDialPanel(QWidget* form)
{
    auto* panel = named(new QWidget(form), "CadransPic");
    place(panel, 120, 120, kDialWidthTwips, kDialHeightTwips);
    auto* face = named(new PictureWidget(panel), "CadransBmp");
    face->setPainter([](QPainter& p, double w, double h) { paintDialFace(p, w, h, true); });
    place(face, 0, 0, kDialWidthTwips, kDialHeightTwips);

    // Left dial: battery current (top half), state of charge (lower right), accelerator
    // (lower left). Labels stay inside the needles' inner radius or in the free corners.
    caption(panel, "Label2", 5, QStringLiteral("Max déch./ch."), 8, 60, 60, 1700, 250);
    value(panel, "MaxDchrgValue", 11, 60, 310, 700, 330);
    value(panel, "MaxChrgValue", 11, 800, 310, 700, 330);
    caption(panel, "Label2", 0, QStringLiteral("Batterie"), 8, 1560, 1760, 900, 240);
    value(panel, "CurrentValue", 16, 1150, 2000, 1250, 450);
    unit(panel, "CurrentUnit", QStringLiteral("A"), 11, 2400, 2080, 420, 330);
    value(panel, "BattKwValue", 14, 1150, 2450, 1250, 380);
    unit(panel, "BattkwUnit", QStringLiteral("kW"), 10, 2400, 2490, 420, 300);
    caption(panel, "Label2", 1, QStringLiteral("SOC"), 8, 1700, 2840, 620, 240);
    value(panel, "StateValue", 14, 1400, 3060, 800, 380);
    unit(panel, "StateUnit", QStringLiteral("%"), 10, 2220, 3100, 350, 300);
    caption(panel, "Label2", 2, QStringLiteral("Accél."), 8, 60, 4290, 700, 250);
    value(panel, "AccValue", 12, 60, 4540, 700, 330);
    caption(panel, "Label2", 3, QStringLiteral("%"), 8, 770, 4570, 250, 260);
    caption(panel, "Label2", 4, QStringLiteral("T. batt."), 8, 3250, 4200, 1000, 250);
    value(panel, "BattTempValue", 12, 3250, 4450, 650, 330);
    unit(panel, "BattTempUnit", QStringLiteral("°C"), 9, 3920, 4470, 400, 300);

    // Right dial: engine speed (top), coolant (bottom); consumption and engine power inside.
    caption(panel, "Label2", 6, QStringLiteral("Moteur"), 8, 5420, 960, 1000, 250);
    value(panel, "RpmValue", 20, 4700, 1200, 1450, 480);
    unit(panel, "RpmUnit", QStringLiteral("tr/min"), 10, 6170, 1330, 800, 300);
    caption(panel, "Label2", 7, QStringLiteral("Conso"), 8, 5420, 1700, 1000, 250);
    value(panel, "MpgValue", 16, 4700, 1950, 1450, 440);
    unit(panel, "MpgUnit", QStringLiteral("L/100"), 10, 6170, 2050, 800, 300);
    caption(panel, "Label2", 8, QStringLiteral("Puissance"), 8, 4600, 2410, 1100, 250);
    label(panel, "RendementLabel", -1, QStringLiteral("Rend."), Role::Caption, 8, 6280, 2410, 900, 250);
    value(panel, "ThermkwValue", 13, 4600, 2660, 1000, 340);
    unit(panel, "ThermkwUnit", QStringLiteral("kW"), 9, 5620, 2680, 450, 300);
    value(panel, "RendementValue", 13, 6100, 2660, 800, 340);
    unit(panel, "RendementUnit", QStringLiteral("%"), 9, 6920, 2680, 350, 300);
    caption(panel, "Label2", 9, QStringLiteral("Eau"), 8, 4950, 3060, 520, 260);
    value(panel, "CoolantTempValue", 12, 5500, 3030, 800, 330);
    unit(panel, "CoolantTempUnit", QStringLiteral("°C"), 9, 6320, 3050, 450, 300);
    caption(panel, "Label2", 10, QStringLiteral("x1000"), 8, 7600, 4560, 700, 260);

    // Needles last, so they draw over the faces and labels.
    const QColor white(255, 255, 255);
    line(panel, "AiguilleAcc", -1, QColor(255, 180, 40), 4, {});
    line(panel, "AiguilleAmp", -1, QColor(40, 200, 90), 4, {});
    line(panel, "AiguilleSoc", -1, QColor(40, 200, 90), 4, {});
    line(panel, "AiguilleTempTh", -1, QColor(40, 200, 90), 4, {});
    line(panel, "AiguilleRpm", -1, white, 5, {});
}

// --- totals and averages, right of the dial panel ---
void buildTripFrame(QWidget* form)
{
    auto* f = frame(form, "Frame1", QStringLiteral("Trajet"), 8490, 120, 3450, 5250);
    struct Row { const char* caption; const char* value; const char* unitName; const char* unitText; };
    const Row rows[] = {
        {"Vitesse", "SpeedValue", "SpeedUnit", "km/h"},
        {"Distance", "DistanceValue", "DistanceLabel", "Km"},
        {"Carburant", "LitresValue", "LitresUnit", "L"},
        {"Conso moy.", "ConsoSp95Value", "ConsoSp95Unit", "L/100"},
        {"Vit. moy.", "VmoyValue", "VmoyUnit", "km/h"},
        {"Temps", "CarTimeValue", "CarTimeUnit", "h:mn"},
    };
    double y = 300;
    int i = 0;
    for (const Row& r : rows) {
        const bool big = i == 0;
        caption(f, "TripCaption", i, QString::fromUtf8(r.caption), 9, 120, y, 1130, 510);
        value(f, r.value, big ? 20 : 14, 1270, y, 1380, 510);
        unit(f, r.unitName, QString::fromUtf8(r.unitText), 9, 2680, y, 700, 510);
        y += 510;
        ++i;
    }
    // Tank level with its picture.
    auto* tank = named(new PictureWidget(f), "TankPic");
    tank->setPainter(paintTankPicture);
    place(tank, 300, y + 30, 570, 600);
    value(f, "TankValue", 16, 1270, y + 30, 1380, 600);
    y += 640;
    // Gear lever letters in the order "BDNRP".
    const char* letters[] = {"B", "D", "N", "R", "P"};
    for (int k = 0; k < 5; ++k) {
        auto* l = label(f, "ShiftStatus", k, QString::fromLatin1(letters[k]), Role::Value, 16, 300 + k * 600, y,
                        600, 540);
        l->setAlignment(Qt::AlignCenter);
        l->setProperty("vcmForeColor", colors::SystemText);
        colour(l, QColor(110, 118, 130));
    }
    y += 550;
    caption(f, "TripCaption", 6, QStringLiteral("Heure"), 9, 120, y, 1130, 510);
    value(f, "NowValue", 14, 1270, y, 1380, 510);
}

// --- miscellaneous values ---
void buildVracFrame(QWidget* form, double left, double top)
{
    auto* f = frame(form, "VracFrame", QStringLiteral("En Vrac"), left, top, 2600, 4260);
    struct Row { const char* caption; const char* value; const char* unitText; };
    const Row rows[] = {
        {"Volant", "VolantValue", "°"},       {"Débit", "LitrehValue", "l/h"},
        {"T. moteur", "TemperThValue", "°"},  {"Couple", "CoupleThValue", "Nm"},
        {"Rpm MG1", "RpMg1VAlue", "tr"},      {"Volt MG1", "vMg1Value", "V"},
        {"VVT-i", "VVtiValue", "°"},          {"T. MG", "MgTempValue", "°C"},
        {"T. MG2", "TempMg2Value", "°C"},     {"T. ext.", "ExtTempValue", "°C"},
        {"V batt.", "BattVoltValue", "V"},    {"Frein", "BrakeValue", "%"},
    };
    double y = 300;
    int i = 0;
    for (const Row& r : rows) {
        caption(f, "VracCaption", i, QString::fromUtf8(r.caption), 8, 90, y, 1050, 320);
        value(f, r.value, 10, 1160, y, 950, 320);
        caption(f, "VracUnit", i, QString::fromUtf8(r.unitText), 8, 2130, y, 430, 320);
        y += 320;
        ++i;
    }
}

// --- per-minute consumption histogram ---
// Bars stand on the base line 10 grid steps below the top line; bar i is 480 twips
// wide from x = 600 + 480 i; a vertical grid line every five bars.
void buildHistogram(QWidget* form, double left, double top)
{
    auto* h = named(new QWidget(form), "HistoPicture");
    h->setAutoFillBackground(true);
    QPalette pal = h->palette();
    pal.setColor(QPalette::Window, kPanel);
    h->setPalette(pal);
    place(h, left, top, 15600, 4260);
    constexpr double x0 = 600, T = 450, dy = 300, bar = 480;
    const QColor grid(70, 78, 92);
    for (int i = 0; i <= 10; ++i)
        line(h, "Histolineh", i, grid, 1, {x0, T + dy * i, x0 + 30 * bar, T + dy * i});
    for (int i = 0; i <= 6; ++i)
        line(h, "Histolinev", i, grid, 1, {x0 + 5 * bar * i, T, x0 + 5 * bar * i, T + 10 * dy});
    for (int i = 0; i < 30; ++i) {
        auto* b = named(new QLabel(h), "Histogr", i);
        b->setFont(font(7, true));
        b->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        b->setAutoFillBackground(true);
        b->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette bp = b->palette();
        bp.setColor(QPalette::Window, QColor(0, 255, 255));
        bp.setColor(QPalette::WindowText, QColor(0, 0, 0));
        b->setPalette(bp);
        b->setProperty("vcmForeColor", 0u);
        place(b, x0 + bar * i, T + 10 * dy, bar, 0);
    }
    // Scale labels: 0..3 left values 8, 6, 4, 2; 4..10 under the vertical lines (10 holds
    // the unit of the horizontal axis); 11, 12 the left 10 and 0; 15 the unit of the values;
    // 16..20 the right values 10, 8, 6, 4, 2.
    const double lw = 440, lh = 250;
    for (int i = 0; i < 4; ++i)
        caption(h, "HistogrLabel", i, QString::number(8 - 2 * i), 8, 60, T + 2 * dy * (i + 1) - 125, lw, lh);
    for (int i = 0; i <= 6; ++i) {
        const QString text = i == 6 ? QStringLiteral("Mn") : QString::number(5 * i);
        const double x = x0 + 5 * bar * i - (i == 6 ? 280 : 75);
        caption(h, "HistogrLabel", 4 + i, text, 8, x, T + 10 * dy + 40, i == 6 ? 700 : 450, lh);
    }
    caption(h, "HistogrLabel", 11, QStringLiteral("10"), 8, 60, T - 125, lw, lh);
    caption(h, "HistogrLabel", 12, QStringLiteral("0"), 8, 60, T + 10 * dy - 125, lw, lh);
    caption(h, "HistogrLabel", 13, {}, 8, 60, 40, lw, lh)->hide();
    caption(h, "HistogrLabel", 14, {}, 8, 60, 40, lw, lh)->hide();
    caption(h, "HistogrLabel", 15, QStringLiteral("L/100km"), 8, 60, 60, 1500, lh);
    const double xr = x0 + 30 * bar + 80;
    caption(h, "HistogrLabel", 16, QStringLiteral("10"), 8, xr, T - 125, lw, lh);
    for (int i = 0; i < 4; ++i)
        caption(h, "HistogrLabel", 17 + i, QString::number(8 - 2 * i), 8, xr, T + 2 * dy * (i + 1) - 125, lw, lh);
    const char* legends[] = {"%Glide", "%Récup.", "%Elec.", "%Therm."};
    const QColor legendColours[] = {QColor(120, 200, 255), QColor(80, 220, 120), QColor(60, 130, 255),
                                    QColor(255, 150, 60)};
    for (int i = 0; i < 4; ++i) {
        auto* l = caption(h, "HistogrLegend", i, QString::fromUtf8(legends[i]), 8, 2000 + 1300 * i, 60, 1250, lh);
        colour(l, legendColours[i]);
        l->hide();
    }
}

// --- status strip: Start/Stop, Config, lamp, adapter error, shares, GPS ---
void buildStatusStrip(QWidget* form, double top)
{
    auto* start = named(new QPushButton(QStringLiteral("Start"), form), "Command1", 0);
    place(start, 120, top, 1350, 480);
    auto* stop = named(new QPushButton(QStringLiteral("Stop"), form), "Command1", 1);
    place(stop, 120, top, 1350, 480);
    stop->hide();
    auto* config = named(new QPushButton(QStringLiteral("Config"), form), "Config");
    place(config, 1590, top, 1350, 480);
    for (auto* b : {start, stop, config}) {
        b->setFont(font(10, true));
        b->setFocusPolicy(Qt::NoFocus); // the keys belong to the dashboard
    }
    auto* lamp = named(new QLabel(form), "CommStatus", 0);
    lamp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lamp->setAutoFillBackground(true);
    place(lamp, 3120, top + 90, 300, 300);
    auto* err = label(form, "ErreurCan", -1, QStringLiteral("Erreur Can!"), Role::Value, 11, 3540, top, 1800, 480);
    err->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    colour(err, QColor(255, 70, 60));
    err->hide();

    // Driving-mode shares, percent of the time the window has been open.
    struct Share { const char* caption; const char* value; };
    const Share shares[] = {{"Therm.", "PourcenTherValue"}, {"Elec.", "PourcenElecValue"},
                            {"Récup.", "PourcenRecupValue"}, {"Glide", "PourcenGlideValue"},
                            {"Arrêt", "PourcenArretValue"}};
    double x = 5400;
    int i = 0;
    for (const Share& s : shares) {
        caption(form, "ShareCaption", i, QString::fromUtf8(s.caption), 9, x, top, 760, 480);
        value(form, s.value, 12, x + 760, top, 560, 480);
        caption(form, "ShareUnit", i, QStringLiteral("%"), 9, x + 1330, top, 250, 480);
        x += 1650;
        ++i;
    }
    // GPS altitude, elevation gain and the altitude trend trace.
    label(form, "GpsAltitudeLabel", -1, QStringLiteral("Alt."), Role::Caption, 9, x + 100, top, 600, 480);
    value(form, "GpsAltitudeValue", 12, x + 700, top, 1000, 480);
    caption(form, "GpsCaption", 0, QStringLiteral("m  Dén."), 9, x + 1720, top, 900, 480);
    value(form, "DenivValue", 12, x + 2620, top, 900, 480);
    caption(form, "GpsCaption", 1, QStringLiteral("m"), 9, x + 3540, top, 300, 480);
    auto* trace = named(new QWidget(form), "GpsTrace");
    place(trace, x + 3850, top, 1000, 480);
    const QColor c(120, 200, 255);
    line(trace, "GpsAltiLine", 0, c, 2, {50, 240, 350, 240});
    line(trace, "GpsAltiLine", 1, c, 2, {350, 240, 650, 240});
    line(trace, "GpsAltiLine", 2, c, 2, {650, 240, 950, 240});
}

void buildMenus(QMainWindow& w)
{
    QMenuBar* bar = w.menuBar();
    QMenu* file = named(bar->addMenu(QStringLiteral("FILE")), "m_file");
    named(file->addAction(QStringLiteral("Save Setting")), "m_ss");
    file->addSeparator();
    named(file->addAction(QStringLiteral("EXIT")), "m_exit");
    QMenu* setup = named(bar->addMenu(QStringLiteral("SETUP")), "m_setup");
    named(setup->addAction(QStringLiteral("COMM")), "m_com");
    setup->addSeparator();
    QMenu* units = named(setup->addMenu(QStringLiteral("Unit")), "m_unit");
    auto* system = new QActionGroup(&w);
    auto* temperature = new QActionGroup(&w);
    for (auto [name, text, group] :
         {std::tuple{"m_si", "The International System of Units(SI)", system},
          std::tuple{"m_us", "U.S. customay Unit", system}, std::tuple{"m_celsius", "Celsius", temperature},
          std::tuple{"m_fahrenheit", "Fahrenheit", temperature}}) {
        QAction* a = named(units->addAction(QString::fromLatin1(text)), name);
        a->setCheckable(true);
        group->addAction(a);
        if (group == system && std::string_view(name) == "m_us")
            units->addSeparator();
    }
}

} // namespace

void buildMainFormDesign(QMainWindow& window)
{
    window.setObjectName(QStringLiteral("MainForm"));
    window.setWindowIcon(windowIcon());
    QPalette p = window.palette();
    p.setColor(QPalette::Window, kFace);
    p.setColor(QPalette::WindowText, QColor(220, 224, 230));
    p.setColor(QPalette::Button, QColor(44, 50, 60));
    p.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    p.setColor(QPalette::Base, kPanel);
    p.setColor(QPalette::Text, QColor(240, 240, 240));
    window.setPalette(p);

    auto* form = new QWidget(&window);
    form->setObjectName(QStringLiteral("FormArea"));
    form->setAutoFillBackground(true);
    window.setCentralWidget(form);

    buildDialPanel(form);
    buildTripFrame(form);
    auto* map = named(new PictureWidget(form), "CartoBmp");
    map->setPainter(paintEngineMap);
    place(map, 12060, 120, 5250, 5250);
    // Cross-hair lines live on the map: their origin is its top-left corner.
    line(map, "CartoLineV", -1, QColor(255, 220, 60), 2, {0, 0, 0, 5250});
    line(map, "CartoLineH", -1, QColor(255, 220, 60), 2, {0, 0, 5250, 0});
    const double row2 = 5490;
    buildHistogram(form, 120, row2);
    buildVracFrame(form, 15840, row2);
    buildStatusStrip(form, row2 + 4260 + 120);
    buildMenus(window);
}

} // namespace vcm
