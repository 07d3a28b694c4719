#include "dashboard/qt/DialArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace vcm {

namespace {

const QColor& kFace = kDialFaceColor;
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

void drawBand(QPainter& p, const DialScaleArt& s, const DialScaleArt::Band& b, bool celsius)
{
    const Dial& d = dialOf(s.gauge);
    const double r = d.r2 + 110;
    const double a1 = scaleAngle(s.gauge, b.from, celsius), a2 = scaleAngle(s.gauge, b.to, celsius);
    QPainterPath path;
    const int steps = std::max(2, int(std::abs(a2 - a1) / 2));
    for (int i = 0; i <= steps; ++i) {
        const double a = a1 + (a2 - a1) * i / steps;
        const Point pt = dialPoint(d, a, r);
        if (i == 0)
            path.moveTo(pt.x, pt.y);
        else
            path.lineTo(pt.x, pt.y);
    }
    p.setPen(QPen(b.color, 90, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// Numbers that would touch one already printed are left out (their tick stays), so a
// crowded stretch of a small dial never prints figures over each other.
void drawScale(QPainter& p, const DialScaleArt& s, bool celsius, std::vector<QRectF>& printed)
{
    for (const auto& b : s.bands)
        drawBand(p, s, b, celsius);
    const Dial& d = dialOf(s.gauge);
    const QFont numberFont = twipFont(int(s.fontTwips), true);
    p.setFont(numberFont);
    const QFontMetricsF fm(numberFont);
    for (const ScaleMark& m : s.marks) {
        const bool major = !m.label.empty();
        const Point t1 = dialPoint(d, m.angle, d.r2 + 20);
        const Point t2 = dialPoint(d, m.angle, d.r2 + (major ? 250 : 170));
        p.setPen(QPen(kTick, major ? 40 : 22, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(t1.x, t1.y), QPointF(t2.x, t2.y));
        if (!major)
            continue;
        // Engine speed is numbered in thousands ("x1000" is printed on the panel).
        const QString text = s.gauge == Gauge::EngineSpeed ? QString::number(m.value / 1000)
                                                           : QString::fromStdString(m.label);
        const Point c = dialPoint(d, m.angle, s.labelRadius);
        const double w = fm.horizontalAdvance(text) + 40;
        const QRectF box(c.x - w / 2, c.y - fm.height() / 2, w, fm.height());
        const QRectF margin = box.adjusted(-10, -10, 10, 10);
        if (std::any_of(printed.begin(), printed.end(), [&](const QRectF& r) { return r.intersects(margin); }))
            continue;
        printed.push_back(box);
        p.setPen(s.numberColor);
        p.drawText(box, Qt::AlignCenter, text);
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

std::vector<DialScaleArt> dialScales(bool celsius)
{
    const auto make = [celsius](Gauge g, double labelRadius, double font, std::vector<DialScaleArt::Band> bands,
                                QColor numbers = kNumber) {
        return DialScaleArt{g, labelRadius, font, scaleMarks(g, celsius), std::move(bands), numbers};
    };
    const double lOut = LeftDial.r2 + 300;
    // The bands follow the needle colours: the current is red while discharging, the state
    // of charge red below 63 %, the coolant blue below 40 and red from 72 degrees Celsius.
    const double cold = celsius ? 40 : 104, hot = celsius ? 72 : 161.6;
    const double coolMin = celsius ? 30 : 86, coolMax = celsius ? 110 : 230;
    return {
        // Left dial: every number beyond the rim; the value labels fill the inside.
        make(Gauge::Current, lOut, 200, {{-150, 0, kRed}, {0, 150, kGreen}}),
        make(Gauge::StateOfCharge, lOut, 200, {{30, 63, kRed}, {63, 90, kGreen}}, QColor(175, 240, 195)),
        make(Gauge::Accelerator, lOut, 200, {{0, 100, kAmber}}, QColor(255, 210, 130)),
        // Right dial: engine speed numbers beyond the rim, coolant numbers inside.
        make(Gauge::EngineSpeed, RightDial.r2 + 420, 280, {{900, 4500, QColor(90, 100, 115)}, {4500, 5000, kRed}}),
        make(Gauge::Coolant, RightDial.r1 - 230, 200,
             {{coolMin, cold, kBlue}, {cold, hot, kGreen}, {hot, coolMax, kRed}}, QColor(175, 210, 255)),
    };
}

void paintDialFace(QPainter& p, double widthPx, double heightPx, bool celsius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(widthPx / kDialWidthTwips, heightPx / kDialHeightTwips);
    p.fillRect(QRectF(0, 0, kDialWidthTwips, kDialHeightTwips), kFace);
    drawHub(p, LeftDial.cx, LeftDial.cy, LeftDial.r2);
    drawHub(p, RightDial.cx, RightDial.cy, RightDial.r2);
    std::vector<QRectF> printed;
    for (const auto& s : dialScales(celsius))
        drawScale(p, s, celsius, printed);
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
            // The figure of the right edge (5000 rpm) stands left of its line, inside the map.
            const double x = std::min(xOf(rpm), w - 30.0 - 2);
            p.drawText(QRectF(x - 30, h - f.pixelSize() * 1.5, 60, f.pixelSize() * 1.4),
                       rpm == 5000 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter, QString::number(rpm / 1000));
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
