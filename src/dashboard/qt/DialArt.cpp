#include "dashboard/qt/DialArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <cmath>

namespace vcm {

namespace {

// The needles convert degrees with 3.14159; so does the artwork, to land on the same pixel.
constexpr double kDegToRad = 3.14159 / 180;

// --- needle angle formulas (the same as the gauge routines use) ---
double currentAngle(double a)
{
    double d = 0;
    if (a >= -100 && a <= 100)
        d = a * 10;
    else if (a > 1500)
        d = 3000;
    else if (a > 100)
        d = std::round((a - 100) * 1.4 + 1000);
    else if (a < -1500)
        d = -3000;
    else
        d = std::round((a + 100) * 1.4 - 1000);
    return d * 0.03 + 180;
}
double socAngle(double v) { return (std::max(v, 300.0) - 300) * 1.5 / 10 - 90; }
double accelAngle(double s) { return 90 - (s < 11 ? s * 3 : (s - 10) * 60 / 190 + 30); }
double rpmAngle(double rpm) { return rpm <= 2000 ? (rpm - 900) / 11.6 + 114 : (rpm - 2000) / 23 + 208; }
double coolantAngle(double c) { return 48 - c / 13.5; }

const QColor kFace(14, 17, 22);
const QColor kTick(235, 238, 242);
const QColor kNumber(255, 255, 255);
const QColor kGreen(40, 200, 90);
const QColor kRed(230, 50, 45);
const QColor kBlue(60, 130, 255);
const QColor kAmber(255, 180, 40);

QFont twipFont(int heightTwips, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(heightTwips);
    f.setBold(bold);
    return f;
}

void drawBand(QPainter& p, const DialScaleArt& s, const DialScaleArt::Band& b)
{
    const double r = s.rOuter + 110;
    const double a1 = s.angleDegrees(b.from), a2 = s.angleDegrees(b.to);
    QPainterPath path;
    const int steps = std::max(2, int(std::abs(a2 - a1) / 2));
    for (int i = 0; i <= steps; ++i) {
        const double a = a1 + (a2 - a1) * i / steps;
        const TwipPoint pt = pointOnDial(s.cx, s.cy, r, a);
        if (i == 0)
            path.moveTo(pt.x, pt.y);
        else
            path.lineTo(pt.x, pt.y);
    }
    p.setPen(QPen(b.color, 90, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void drawScale(QPainter& p, const DialScaleArt& s)
{
    for (const auto& b : s.bands)
        drawBand(p, s, b);
    const QFont numberFont = twipFont(int(s.fontTwips), true);
    p.setFont(numberFont);
    const QFontMetricsF fm(numberFont);
    for (const auto& m : s.marks) {
        const double a = s.angleDegrees(m.value);
        const bool major = !m.label.isEmpty();
        const TwipPoint t1 = pointOnDial(s.cx, s.cy, s.rOuter + 20, a);
        const TwipPoint t2 = pointOnDial(s.cx, s.cy, s.rOuter + (major ? 250 : 170), a);
        p.setPen(QPen(kTick, major ? 40 : 22, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(t1.x, t1.y), QPointF(t2.x, t2.y));
        if (!major)
            continue;
        const TwipPoint c = pointOnDial(s.cx, s.cy, s.labelRadius, a + m.nudge);
        const QRectF box(c.x - fm.horizontalAdvance(m.label) / 2 - 20, c.y - fm.height() / 2,
                         fm.horizontalAdvance(m.label) + 40, fm.height());
        p.setPen(kNumber);
        p.drawText(box, Qt::AlignCenter, m.label);
    }
}

void drawHub(QPainter& p, double cx, double cy, double rOuter)
{
    QRadialGradient glow(QPointF(cx, cy), rOuter + 450);
    glow.setColorAt(0, QColor(34, 40, 50));
    glow.setColorAt(0.85, QColor(22, 26, 33));
    glow.setColorAt(1, kFace);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(cx, cy), rOuter + 450, rOuter + 450);
    p.setPen(QPen(QColor(60, 68, 80), 25));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx, cy), rOuter + 40, rOuter + 40);
}

} // namespace

TwipPoint pointOnDial(double cx, double cy, double r, double thetaDegrees)
{
    const double t = thetaDegrees * kDegToRad;
    return {cx - r * std::sin(t), cy + r * std::cos(t)};
}

std::vector<DialScaleArt> dialScales(bool celsius)
{
    std::vector<DialScaleArt> scales;
    constexpr double lx = 2010, ly = 2850, lr1 = 1230, lr2 = 1600;
    constexpr double rx = 5920, ry = 2440, rr1 = 1580, rr2 = 2040;

    // Left dial: current numbers beyond the rim (top half), state of charge and
    // accelerator numbers inside the needle's path (lower half).
    constexpr double lOut = lr2 + 300, lIn = lr1 - 170, lFont = 200;
    DialScaleArt current{lx, ly, lr1, lr2, lOut, lFont, currentAngle, {}, {}};
    for (int amps : {-100, -50, -10, 0, 10, 50, 100})
        current.marks.push_back({amps * 10.0, QString::number(std::abs(amps))});
    for (int amps : {-150, -125, -75, -30, -20, -5, 5, 20, 30, 75, 125, 150})
        current.marks.push_back({amps * 10.0, {}});
    current.bands = {{-1500, 0, kRed}, {0, 1500, kGreen}};
    scales.push_back(current);

    DialScaleArt soc{lx, ly, lr1, lr2, lIn, lFont, socAngle, {}, {}};
    for (int pct = 30; pct <= 90; pct += 10)
        soc.marks.push_back({pct * 10.0, pct % 20 == 10 ? QString::number(pct) : QString(), pct == 90 ? -11.0 : 0.0});
    soc.bands = {{300, 630, kRed}, {630, 900, kGreen}};
    scales.push_back(soc);

    // The accelerator needle takes twice the percentage (0..200 for 0..100 %).
    DialScaleArt accel{lx, ly, lr1, lr2, lIn, lFont, accelAngle, {}, {}};
    for (int pct : {0, 50, 100})
        accel.marks.push_back({pct * 2.0, QString::number(pct), pct == 100 ? 12.0 : 0.0});
    for (int pct : {5, 10, 20, 25, 30, 40, 60, 70, 75, 80, 90})
        accel.marks.push_back({pct * 2.0, {}});
    accel.bands = {{0, 200, kAmber}};
    scales.push_back(accel);

    // Right dial: engine speed numbers beyond the rim, coolant numbers inside.
    DialScaleArt rpm{rx, ry, rr1, rr2, rr2 + 420, 280, rpmAngle, {}, {}};
    for (int r = 1000; r <= 5000; r += 1000)
        rpm.marks.push_back({double(r), QString::number(r / 1000)});
    for (int r = 1100; r < 2000; r += 100)
        rpm.marks.push_back({double(r), {}});
    for (int r = 2500; r < 5000; r += 1000)
        rpm.marks.push_back({double(r), {}});
    rpm.bands = {{900, 4500, QColor(90, 100, 115)}, {4500, 5000, kRed}};
    scales.push_back(rpm);

    // Coolant, in tenths of a degree of the unit the decoder delivers.
    DialScaleArt coolant{rx, ry, rr1, rr2, rr1 - 230, 220, coolantAngle, {}, {}};
    if (celsius) {
        for (int deg : {40, 70, 100})
            coolant.marks.push_back({deg * 10.0, QString::number(deg)});
        for (int deg : {30, 50, 60, 80, 90})
            coolant.marks.push_back({deg * 10.0, {}});
        coolant.bands = {{300, 400, kBlue}, {400, 720, kGreen}, {720, 1000, kRed}};
    } else {
        for (int deg : {60, 100, 140})
            coolant.marks.push_back({deg * 10.0, QString::number(deg)});
        for (int deg : {80, 120})
            coolant.marks.push_back({deg * 10.0, {}});
        coolant.bands = {{500, 720, kBlue}, {720, 1400, kRed}};
    }
    scales.push_back(coolant);
    return scales;
}

void paintDialFace(QPainter& p, double widthPx, double heightPx, bool celsius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(widthPx / kDialWidthTwips, heightPx / kDialHeightTwips);
    p.fillRect(QRectF(0, 0, kDialWidthTwips, kDialHeightTwips), kFace);
    drawHub(p, 2010, 2850, 1600);
    drawHub(p, 5920, 2440, 2040);
    for (const auto& s : dialScales(celsius))
        drawScale(p, s);
    p.restore();
}

void paintEngineMap(QPainter& p, double w, double h)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient load(0, h, w, 0);
    load.setColorAt(0, QColor(16, 34, 24));
    load.setColorAt(0.55, QColor(20, 28, 36));
    load.setColorAt(1, QColor(48, 22, 18));
    p.fillRect(QRectF(0, 0, w, h), load);
    const auto xOf = [&](double rpm) { return w / 4100 * (rpm - 900); };
    const auto yOf = [&](double inj) { return h / 1600 * (1600 - inj); };
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(8, int(h / 32)));
    p.setFont(f);
    for (int rpm = 1000; rpm <= 5000; rpm += 500) {
        const bool major = rpm % 1000 == 0;
        p.setPen(QPen(major ? QColor(110, 120, 135) : QColor(60, 68, 80), major ? 1.2 : 0.8));
        p.drawLine(QPointF(xOf(rpm), 0), QPointF(xOf(rpm), h));
        if (major) {
            p.setPen(QColor(200, 205, 215));
            p.drawText(QRectF(xOf(rpm) - 30, h - f.pixelSize() * 1.5, 60, f.pixelSize() * 1.4), Qt::AlignCenter,
                       QString::number(rpm / 1000));
        }
    }
    for (int inj = 0; inj <= 1600; inj += 200) {
        const bool major = inj % 400 == 0;
        p.setPen(QPen(major ? QColor(110, 120, 135) : QColor(60, 68, 80), major ? 1.2 : 0.8));
        p.drawLine(QPointF(0, yOf(inj)), QPointF(w, yOf(inj)));
        if (major && inj > 0 && inj < 1600) {
            p.setPen(QColor(200, 205, 215));
            p.drawText(QRectF(3, yOf(inj) - f.pixelSize() * 1.3, 60, f.pixelSize() * 1.3),
                       Qt::AlignLeft | Qt::AlignBottom, QString::number(inj));
        }
    }
    p.setPen(QColor(170, 178, 190));
    p.drawText(QRectF(0, 2, w - 4, f.pixelSize() * 1.4), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("injecteur / x1000 tr/min"));
    p.setPen(QPen(QColor(90, 100, 115), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.75, 0.75, w - 1.5, h - 1.5));
    p.restore();
}

void paintTankPicture(QPainter& p, double w, double h)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(w / 38, h / 40);
    const QColor body(235, 238, 242);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    // Pump body with its window, base, hose and nozzle.
    p.drawRoundedRect(QRectF(5, 6, 18, 28), 2.5, 2.5);
    p.drawRect(QRectF(3, 33, 22, 4));
    p.setBrush(QColor(14, 17, 22));
    p.drawRoundedRect(QRectF(8.5, 10, 11, 8), 1.2, 1.2);
    p.setPen(QPen(body, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hose;
    hose.moveTo(23, 12);
    hose.lineTo(29, 12);
    hose.cubicTo(33, 12, 33, 16, 33, 18);
    hose.lineTo(33, 28);
    hose.cubicTo(33, 31, 29, 31, 29, 28);
    hose.lineTo(29, 20);
    p.drawPath(hose);
    p.drawLine(QPointF(27, 8), QPointF(33, 14));
    p.restore();
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : {16, 32, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(14, 17, 22));
        p.drawEllipse(QPointF(32, 32), 31, 31);
        // A dial from green to red with its needle.
        const QColor arc[] = {kGreen, kGreen, kAmber, kRed};
        for (int i = 0; i < 4; ++i) {
            p.setPen(QPen(arc[i], 7, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(QRectF(10, 10, 44, 44), (210 - i * 60) * 16, -60 * 16);
        }
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 34), QPointF(46, 18));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(32, 34), 5, 5);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vcm
