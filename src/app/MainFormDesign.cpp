#include "app/MainFormDesign.h"

#include "dashboard/qt/DialLayout.h"
#include "dashboard/qt/DialArt.h"
#include "dashboard/qt/QtView.h"
#include "dashboard/qt/LineWidget.h"
#include "dashboard/qt/PictureWidget.h"
#include "dashboard/qt/Twips.h"

#include <algorithm>
#include <utility>

#include <QActionGroup>
#include <QApplication>
#include <QHash>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace vcm {

namespace {

const QColor& kFace = kDialFaceColor;
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

QGroupBox* frame(QWidget* parent, const char* name, const QString& title)
{
    auto* f = named(new QGroupBox(title, parent), name);
    f->setFont(font(9, true));
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, kPanel);
    p.setColor(QPalette::WindowText, kCaption);
    f->setPalette(p);
    return f;
}

// --- the designed controls of the dial panel, the map and the histogram ---
QWidget* createDesigned(const ControlDesign& c, QWidget* parent)
{
    const bool grid = c.name == "Histolineh" || c.name == "Histolinev";
    switch (c.kind) {
    case ControlKind::Picture: {
        if (c.name == "CadransBmp") {
            auto* face = named(new PictureWidget(parent), "CadransBmp");
            face->setPainter([](QPainter& p, double w, double h) { paintDialFace(p, w, h, true); });
            return face;
        }
        if (c.name == "CartoBmp") {
            auto* map = named(new PictureWidget(parent), "CartoBmp");
            map->setPainter(paintEngineMap);
            return map;
        }
        auto* w = named(new QWidget(parent), c.name.c_str());
        w->setAutoFillBackground(c.name == "HistoPicture");
        QPalette p = w->palette();
        p.setColor(QPalette::Window, kPanel);
        w->setPalette(p);
        return w;
    }
    case ControlKind::Frame:
        return frame(parent, c.name.c_str(), QString::fromStdString(c.caption));
    case ControlKind::Line: {
        const bool needle = c.name.rfind("Aiguille", 0) == 0;
        return line(parent, c.name.c_str(), c.index, needle ? kValue : QColor(255, 220, 60), c.borderWidth, c.line);
    }
    case ControlKind::Label:
        break;
    }
    auto* l = named(new QLabel(QString::fromStdString(c.caption), parent), c.name.c_str(), c.index);
    l->setFont(font(c.fontSize > 0 ? c.fontSize : 8, c.bold));
    l->setAlignment((c.align == TextAlign::Right    ? Qt::AlignRight
                     : c.align == TextAlign::Center ? Qt::AlignHCenter
                                                    : Qt::AlignLeft) |
                    Qt::AlignVCenter);
    if (grid) {
        // Grid lines of the histogram: thin filled strips.
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, QColor(70, 78, 92));
        l->setPalette(p);
    } else if (c.name == "Histogr") {
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setAutoFillBackground(true);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, QColor(0, 255, 255));
        p.setColor(QPalette::WindowText, QColor(0, 0, 0));
        l->setPalette(p);
        l->setProperty("vcmForeColor", 0u);
    } else {
        colour(l, c.bold ? kValue : c.name.find("Unit") != std::string::npos ? kUnit : kCaption);
    }
    return l;
}

void buildDesignedControls(QWidget* form)
{
    QHash<QString, QWidget*> containers;
    for (const ControlDesign& c : designedControls()) {
        QWidget* parent = c.parent.empty() ? form : containers.value(QString::fromStdString(c.parent), form);
        QWidget* w = createDesigned(c, parent);
        if (c.index < 0)
            containers.insert(QString::fromStdString(c.name), w);
    }
    // The bars stand in front of the grid, whose lines would strike through their captions.
    for (QWidget* bar : form->findChildren<QWidget*>(QStringLiteral("Histogr")))
        bar->raise();
}

// --- totals and averages, in Frame1 beside the dial panel ---
void buildTripFrame(QWidget* f)
{
    struct Row { const char* caption; const char* value; const char* unitName; const char* unitText; };
    const Row rows[] = {
        {"Vitesse", "SpeedValue", "SpeedUnit", "km/h"},
        {"Distance", "DistanceValue", "DistanceLabel", "Km"},
        {"Carbur.", "LitresValue", "LitresUnit", "L"},
        {"Moyenne", "ConsoSp95Value", "ConsoSp95Unit", "L/100"}, // average: the dial's "Conso" is the instant one
        {"Vit. moy", "VmoyValue", "VmoyUnit", "km/h"},
        {"Temps", "CarTimeValue", "CarTimeUnit", "h:mn"},
    };
    double y = 300;
    int i = 0;
    for (const Row& r : rows) {
        caption(f, "TripCaption", i, QString::fromUtf8(r.caption), 8, 90, y, 800, 500);
        value(f, r.value, i == 0 ? 18 : 13, 890, y, 1230, 500);
        unit(f, r.unitName, QString::fromUtf8(r.unitText), 8, 2140, y, 600, 500);
        y += 500;
        ++i;
    }
    // Tank level with its picture.
    auto* tank = named(new PictureWidget(f), "TankPic");
    tank->setPainter(paintTankPicture);
    place(tank, 250, y + 20, 570, 600);
    value(f, "TankValue", 16, 890, y + 20, 1230, 600);
    unit(f, "TankUnit", QStringLiteral("%"), 8, 2140, y + 20, 600, 600); // of the tank's capacity
    y += 660;
    // Gear lever letters in the order "BDNRP".
    const char* letters[] = {"B", "D", "N", "R", "P"};
    for (int k = 0; k < 5; ++k) {
        auto* l = label(f, "ShiftStatus", k, QString::fromLatin1(letters[k]), Role::Value, 15, 130 + k * 500, y,
                        500, 540);
        l->setAlignment(Qt::AlignCenter);
        l->setProperty("vcmForeColor", colors::SystemText);
        colour(l, QColor(110, 118, 130));
    }
    y += 560;
    caption(f, "TripCaption", 6, QStringLiteral("Heure"), 8, 90, y, 800, 500);
    value(f, "NowValue", 13, 890, y, 1230, 500);
}

// --- miscellaneous values ---
void buildVracFrame(QWidget* f)
{
    struct Row { const char* caption; const char* value; const char* unitText; };
    const Row rows[] = {
        {"Volant", "VolantValue", "°"},       {"Débit", "LitrehValue", "l/h"},
        {"T. moteur", "TemperThValue", "°C"},  {"Couple", "CoupleThValue", "Nm"},
        {"Rpm MG1", "RpMg1VAlue", "tr"},      {"Volt MG1", "vMg1Value", "V"},
        {"VVT-i", "VVtiValue", "°"},          {"T. MG", "MgTempValue", "°C"},
        {"T. MG2", "TempMg2Value", "°C"},     {"T. ext.", "ExtTempValue", "°C"},
        {"V batt.", "BattVoltValue", "V"},    {"Frein", "BrakeValue", "%"},
    };
    double y = 330;
    int i = 0;
    for (const Row& r : rows) {
        caption(f, "VracCaption", i, QString::fromUtf8(r.caption), 8, 80, y, 1000, 380);
        value(f, r.value, 10, 1080, y, 950, 380);
        caption(f, "VracUnit", i, QString::fromUtf8(r.unitText), 8, 2050, y, 480, 380);
        y += 380;
        ++i;
    }
}

// --- status strip: Start/Stop, Config, lamp, adapter error, shares, GPS ---
// In one row: buttons and lamp, the five shares, the GPS figures. In two rows (a narrow
// screen): buttons, lamp and GPS figures, then the shares under them.
constexpr const char* kStripGroup = "vcmStripGroup";
enum class StripGroup { Shares = 1, Gps = 2 };
constexpr double kSharesLeft = 5400, kGpsLeft = 5400 + 5 * 1650, kStripRow = 480, kRowGap = 60;
constexpr double kOneRowWidth = 18560, kTwoRowWidth = kOneRowWidth - kSharesLeft - 5 * 1650 + kSharesLeft;

void buildStatusStrip(QWidget* form)
{
    // One row under the histogram (placeStatusStrip moves it when the histogram is fitted).
    auto* strip = named(new QWidget(form), "StatusStrip");
    place(strip, 60, 0, kOneRowWidth, kStripRow); // as wide as what it holds, the altitude trace last
    const double top = 0;
    auto* start = named(new QPushButton(QStringLiteral("Start"), strip), "Command1", 0);
    place(start, 0, top, 1350, 480);
    auto* stop = named(new QPushButton(QStringLiteral("Stop"), strip), "Command1", 1);
    place(stop, 0, top, 1350, 480);
    stop->hide();
    auto* config = named(new QPushButton(QStringLiteral("Config"), strip), "Config");
    place(config, 1590, top, 1350, 480);
    for (auto* b : {start, stop, config}) {
        b->setFont(font(10, true));
        b->setFocusPolicy(Qt::NoFocus); // the keys belong to the dashboard
    }
    auto* lamp = named(new QLabel(strip), "CommStatus", 0);
    lamp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lamp->setAutoFillBackground(true);
    place(lamp, 3120, top + 90, 300, 300);
    lamp->setToolTip(QStringLiteral("Activité de l'adaptateur"));
    caption(strip, "CommCaption", 0, QStringLiteral("CAN"), 9, 3480, top, 480, 480);
    auto* err = label(strip, "ErreurCan", -1, QStringLiteral("Erreur Can!"), Role::Value, 11, 3990, top, 1380, 480);
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
        for (QWidget* w : {static_cast<QWidget*>(caption(strip, "ShareCaption", i, QString::fromUtf8(s.caption), 9, x, top, 760, 480)),
                           static_cast<QWidget*>(value(strip, s.value, 12, x + 760, top, 560, 480)),
                           static_cast<QWidget*>(caption(strip, "ShareUnit", i, QStringLiteral("%"), 9, x + 1330, top, 250, 480))})
            w->setProperty(kStripGroup, int(StripGroup::Shares));
        x += 1650;
        ++i;
    }
    // GPS altitude, elevation gain and the altitude trend trace.
    auto* trace = named(new QWidget(strip), "GpsTrace");
    place(trace, x + 3850, top, 1000, 480);
    for (QWidget* w : {static_cast<QWidget*>(label(strip, "GpsAltitudeLabel", -1, QStringLiteral("Alt."), Role::Caption, 9, x + 100, top, 600, 480)),
                       static_cast<QWidget*>(value(strip, "GpsAltitudeValue", 12, x + 700, top, 1000, 480)),
                       static_cast<QWidget*>(caption(strip, "GpsCaption", 0, QStringLiteral("m  Dén."), 9, x + 1720, top, 900, 480)),
                       static_cast<QWidget*>(value(strip, "DenivValue", 12, x + 2620, top, 900, 480)),
                       static_cast<QWidget*>(caption(strip, "GpsCaption", 1, QStringLiteral("m"), 9, x + 3540, top, 300, 480)),
                       static_cast<QWidget*>(trace)})
        w->setProperty(kStripGroup, int(StripGroup::Gps));
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
    named(file->addAction(QStringLiteral("Trip browser")), "m_trips");
    file->addSeparator();
    named(file->addAction(QStringLiteral("EXIT")), "m_exit");
    QMenu* setup = named(bar->addMenu(QStringLiteral("SETUP")), "m_setup");
    named(setup->addAction(QStringLiteral("COMM")), "m_com");
    setup->addSeparator();
    QMenu* units = named(setup->addMenu(QStringLiteral("Unit")), "m_unit");
    auto* system = new QActionGroup(&w);
    auto* temperature = new QActionGroup(&w);
    for (auto [name, text, group] :
         {std::tuple{"m_Metric", "The International System of Units(SI)", system},
          std::tuple{"m_us", "U.S. customay Unit", system}, std::tuple{"m_Celsius", "Celsius", temperature},
          std::tuple{"m_Fahrenheit", "Fahrenheit", temperature}}) {
        QAction* a = named(units->addAction(QString::fromLatin1(text)), name);
        a->setCheckable(true);
        group->addAction(a);
        if (group == system && std::string_view(name) == "m_us")
            units->addSeparator();
    }
}

} // namespace

int statusStripWidthPx() { return int(kOneRowWidth / 15) + 1; }

void arrangeStatusStrip(QWidget& strip, bool twoRows)
{
    for (QWidget* w : strip.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant group = w->property(kStripGroup);
        if (!group.isValid())
            continue;
        if (!w->property("vcmStripHome").isValid())
            w->setProperty("vcmStripHome", w->property("vcmTwips"));
        QRectF r = w->property("vcmStripHome").toRectF();
        if (twoRows && group.toInt() == int(StripGroup::Shares))
            r.translate(-kSharesLeft, kStripRow + kRowGap);
        else if (twoRows)
            r.translate(kSharesLeft - kGpsLeft, 0);
        place(w, r.x(), r.y(), r.width(), r.height());
    }
    const QRectF r = strip.property("vcmTwips").toRectF();
    place(&strip, r.x(), r.y(), twoRows ? kTwoRowWidth : kOneRowWidth, twoRows ? 2 * kStripRow + kRowGap : kStripRow);
}

QPalette dashboardPalette()
{
    QPalette p;
    const QColor text(225, 228, 234), dimmed(110, 118, 130);
    for (auto [role, colour] : {std::pair{QPalette::Window, kFace}, {QPalette::WindowText, text},
                                {QPalette::Button, QColor(44, 50, 60)}, {QPalette::ButtonText, QColor(240, 240, 240)},
                                {QPalette::Base, kPanel}, {QPalette::AlternateBase, QColor(34, 39, 48)},
                                {QPalette::Text, QColor(240, 240, 240)}, {QPalette::ToolTipBase, kPanel},
                                {QPalette::ToolTipText, text}, {QPalette::PlaceholderText, dimmed},
                                {QPalette::Highlight, QColor(40, 90, 150)}, {QPalette::HighlightedText, Qt::white},
                                {QPalette::Light, QColor(70, 78, 92)}, {QPalette::Midlight, QColor(56, 63, 75)},
                                {QPalette::Mid, QColor(40, 46, 56)}, {QPalette::Dark, QColor(16, 19, 24)},
                                {QPalette::Shadow, Qt::black}, {QPalette::BrightText, QColor(255, 90, 80)},
                                {QPalette::Link, QColor(120, 180, 255)}})
        p.setColor(role, colour);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, dimmed);
    return p;
}

void placeStatusStrip(QtView& view)
{
    double bottom = 0;
    for (const char* part : {"CadransPic", "Frame1", "VracFrame", "CartoBmp", "HistoPicture"})
        if (view.isVisible({part})) {
            const Rect r = view.geometry({part});
            bottom = std::max(bottom, r.top + r.height);
        }
    Rect strip = view.geometry({"StatusStrip"});
    strip.top = bottom + 120;
    view.setGeometry({"StatusStrip"}, strip);
}

void buildMainFormDesign(QMainWindow& window, QtView& view)
{
    window.setObjectName(QStringLiteral("MainForm"));
    window.setWindowIcon(windowIcon());
    window.setPalette(dashboardPalette());
    // The dialogs, message boxes and menus are windows of their own, which do not take
    // the dashboard's palette from it: give it to the whole program, so that nothing
    // glares at night.
    QApplication::setPalette(dashboardPalette());

    auto* form = new QWidget(&window);
    form->setObjectName(QStringLiteral("FormArea"));
    form->setAutoFillBackground(true);
    window.setCentralWidget(form);

    buildDesignedControls(form);
    view.reindex();
    applyDesign(view);
    buildTripFrame(window.findChild<QWidget*>(QStringLiteral("Frame1")));
    buildVracFrame(window.findChild<QWidget*>(QStringLiteral("VracFrame")));
    buildStatusStrip(form);
    buildMenus(window);
    view.reindex();
}

} // namespace vcm
