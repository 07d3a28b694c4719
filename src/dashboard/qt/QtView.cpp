#include "dashboard/qt/QtView.h"

#include "dashboard/qt/LineWidget.h"
#include "dashboard/qt/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace vcm {

namespace {

constexpr const char* kFore = "vcmForeColor";
constexpr const char* kBack = "vcmBackColor";
constexpr const char* kTwips = "vcmTwips";
constexpr const char* kPoints = "vcmPoints"; // the font size as designed, before the form's scale

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

int indexOf(const QObject* o)
{
    const QVariant v = o->property("index");
    return v.isValid() ? v.toInt() : -1;
}

// Pixels of a control at the form's scale. An edge that rounding put one pixel past its
// container's is pulled back in (the dial face fills its panel exactly).
QRect pixelRect(const QWidget* w, const Rect& twips, double scale)
{
    QRect r = twipsToRect(twips, scale);
    if (const QWidget* parent = w->parentWidget(); parent && scale != 1.0) {
        if (r.right() == parent->width())
            r.setRight(parent->width() - 1);
        if (r.bottom() == parent->height())
            r.setBottom(parent->height() - 1);
    }
    return r;
}

// Text is hinted to whole pixels while its box is scaled exactly: a font scaled down
// with its box is kept a little smaller so that the text still fits.
double scaledPoints(double points, double scale)
{
    return scale < 1.0 ? points * scale * 0.95 : points * scale;
}

} // namespace

QtView::QtView(QWidget* root)
    : root_(root)
{
    reindex();
}

void QtView::reindex()
{
    controls_.clear();
    add(root_);
    for (QObject* o : root_->findChildren<QObject*>())
        add(o);
}

void QtView::add(QObject* control)
{
    if (!control->objectName().isEmpty())
        controls_.insert({control->objectName(), indexOf(control)}, control);
}

QtView::Key QtView::keyOf(ControlRef c) { return {qs(c.name), c.index}; }

QObject* QtView::find(ControlRef c) const { return controls_.value(keyOf(c), nullptr); }

QWidget* QtView::widget(ControlRef c) const { return qobject_cast<QWidget*>(find(c)); }

QObject* QtView::resolve(ControlRef c)
{
    if (QObject* o = find(c))
        return o;
    if (c.index >= 0)
        if (QObject* o = cloneElement(c))
            return o;
    noteUnknown(c);
    return nullptr;
}

// A new element of a label array looks like element 0 and starts hidden, as a
// control-array element created at run time does.
QObject* QtView::cloneElement(ControlRef c)
{
    auto* first = qobject_cast<QLabel*>(find({c.name, 0}));
    if (!first)
        return nullptr;
    auto* label = new QLabel(first->parentWidget());
    label->setObjectName(first->objectName());
    label->setProperty("index", c.index);
    label->setFont(first->font());
    label->setAlignment(first->alignment());
    label->setFrameStyle(first->frameStyle());
    label->setAutoFillBackground(first->autoFillBackground());
    label->setPalette(first->palette());
    label->setGeometry(first->geometry());
    label->setProperty(kTwips, first->property(kTwips));
    label->setProperty(kPoints, first->property(kPoints));
    label->setProperty(kFore, first->property(kFore));
    label->setProperty(kBack, first->property(kBack));
    label->hide();
    add(label);
    return label;
}

void QtView::noteUnknown(ControlRef c) const { unknown_.insert({std::string(c.name), c.index}); }

QtView::Fallback& QtView::fallback(ControlRef c) { return fallbacks_[{std::string(c.name), c.index}]; }

const QtView::Fallback* QtView::fallbackIfAny(ControlRef c) const
{
    auto it = fallbacks_.find({std::string(c.name), c.index});
    if (it != fallbacks_.end())
        return &it->second;
    if (!find({c.name, 0}) || c.index < 0)
        noteUnknown(c);
    return nullptr;
}

void QtView::setText(ControlRef c, std::string_view text)
{
    QObject* o = resolve(c);
    const QString t = qs(text);
    if (auto* label = qobject_cast<QLabel*>(o))
        label->setText(t);
    else if (auto* button = qobject_cast<QAbstractButton*>(o))
        button->setText(t);
    else if (auto* frame = qobject_cast<QGroupBox*>(o))
        frame->setTitle(t);
    else if (auto* action = qobject_cast<QAction*>(o))
        action->setText(t);
    else if (auto* menu = qobject_cast<QMenu*>(o))
        menu->setTitle(t);
    else if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow())
        w->setWindowTitle(t);
    else
        fallback(c).text = text;
}

std::string QtView::text(ControlRef c) const
{
    QObject* o = find(c);
    QString t;
    if (auto* label = qobject_cast<QLabel*>(o))
        t = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(o))
        t = button->text();
    else if (auto* frame = qobject_cast<QGroupBox*>(o))
        t = frame->title();
    else if (auto* action = qobject_cast<QAction*>(o))
        t = action->text();
    else if (auto* menu = qobject_cast<QMenu*>(o))
        t = menu->title();
    else if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow())
        t = w->windowTitle();
    else if (const Fallback* f = fallbackIfAny(c))
        return f->text;
    return t.toStdString();
}

void QtView::setForeColor(ControlRef c, Color color)
{
    QObject* o = resolve(c);
    if (auto* line = qobject_cast<LineWidget*>(o)) {
        line->setColor(toQColor(color));
        line->setProperty(kFore, color);
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) {
        fallback(c).fore = color;
        return;
    }
    w->setProperty(kFore, color);
    const QColor q = toQColor(color == colors::SystemText ? systemText_ : color);
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, q);
    p.setColor(QPalette::ButtonText, q);
    p.setColor(QPalette::Text, q);
    w->setPalette(p);
}

Color QtView::foreColor(ControlRef c) const
{
    QObject* o = find(c);
    if (!o) {
        const Fallback* f = fallbackIfAny(c);
        return f ? f->fore : colors::SystemText;
    }
    const QVariant v = o->property(kFore);
    if (v.isValid())
        return Color(v.toUInt());
    if (auto* line = qobject_cast<LineWidget*>(o))
        return fromQColor(line->color());
    return colors::SystemText;
}

void QtView::setBackColor(ControlRef c, Color color)
{
    auto* w = qobject_cast<QWidget*>(resolve(c));
    if (!w) {
        fallback(c).back = color;
        return;
    }
    w->setProperty(kBack, color);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, toQColor(color));
    p.setColor(QPalette::Button, toQColor(color));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

Color QtView::backColor(ControlRef c) const
{
    auto* w = qobject_cast<QWidget*>(find(c));
    if (!w) {
        const Fallback* f = fallbackIfAny(c);
        return f ? f->back : colors::White;
    }
    const QVariant v = w->property(kBack);
    return v.isValid() ? Color(v.toUInt()) : fromQColor(w->palette().color(QPalette::Window));
}

void QtView::setVisible(ControlRef c, bool visible)
{
    QObject* o = resolve(c);
    if (auto* w = qobject_cast<QWidget*>(o))
        w->setVisible(visible);
    else if (auto* action = qobject_cast<QAction*>(o))
        action->setVisible(visible);
    else
        fallback(c).visible = visible;
}

// Whether the control itself is shown, as the window's design sees it: a needle inside a
// hidden panel still counts as visible, as in the layout cycle's checks.
bool QtView::isVisible(ControlRef c) const
{
    QObject* o = find(c);
    if (auto* line = qobject_cast<LineWidget*>(o))
        return line->isLineShown();
    if (auto* w = qobject_cast<QWidget*>(o))
        return !w->isHidden();
    if (auto* action = qobject_cast<QAction*>(o))
        return action->isVisible();
    const Fallback* f = fallbackIfAny(c);
    return f ? f->visible : false;
}

void QtView::setEnabled(ControlRef c, bool enabled)
{
    QObject* o = resolve(c);
    if (auto* menu = qobject_cast<QMenu*>(o)) {
        // A submenu is greyed out through its entry in the parent menu.
        menu->menuAction()->setEnabled(enabled);
        menu->setEnabled(enabled);
    } else if (auto* w = qobject_cast<QWidget*>(o))
        w->setEnabled(enabled);
    else if (auto* action = qobject_cast<QAction*>(o))
        action->setEnabled(enabled);
    else
        fallback(c).enabled = enabled;
}

bool QtView::isEnabled(ControlRef c) const
{
    QObject* o = find(c);
    if (auto* menu = qobject_cast<QMenu*>(o))
        return menu->menuAction()->isEnabled();
    if (auto* w = qobject_cast<QWidget*>(o))
        return w->isEnabled();
    if (auto* action = qobject_cast<QAction*>(o))
        return action->isEnabled();
    const Fallback* f = fallbackIfAny(c);
    return f ? f->enabled : true;
}

void QtView::setLine(ControlRef c, const Line& line)
{
    if (auto* l = qobject_cast<LineWidget*>(resolve(c)))
        l->setLine(line);
    else
        fallback(c).line = line;
}

Line QtView::line(ControlRef c) const
{
    if (auto* l = qobject_cast<LineWidget*>(find(c)))
        return l->line();
    const Fallback* f = fallbackIfAny(c);
    return f ? f->line : Line{};
}

// A line control's rectangle is the box from its first to its second end point (a
// grid line with a Top and a Width, a vertical line with a Height).
void QtView::setGeometry(ControlRef c, const Rect& r)
{
    QObject* o = resolve(c);
    if (auto* l = qobject_cast<LineWidget*>(o)) {
        l->setLine({r.left, r.top, r.left + r.width, r.top + r.height});
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) {
        fallback(c).geometry = r;
        return;
    }
    // The exact twips are kept so that scaling back and forth does not drift by pixels.
    w->setProperty(kTwips, QRectF(r.left, r.top, r.width, r.height));
    w->setGeometry(pixelRect(w, r, scale_));
}

Rect QtView::geometry(ControlRef c) const
{
    QObject* o = find(c);
    if (auto* l = qobject_cast<LineWidget*>(o)) {
        const Line& s = l->line();
        return {s.x1, s.y1, s.x2 - s.x1, s.y2 - s.y1};
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) {
        const Fallback* f = fallbackIfAny(c);
        return f ? f->geometry : Rect{};
    }
    // Every placed control keeps its exact twips (a zoom rounded to pixels would drift).
    const QVariant v = w->property(kTwips);
    if (v.isValid()) {
        const QRectF r = v.toRectF();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    const Rect r = rectToTwips(w->geometry());
    return {r.left / scale_, r.top / scale_, r.width / scale_, r.height / scale_};
}

void QtView::setFormScale(QWidget* area, double scale)
{
    scale_ = scale;
    for (QWidget* w : area->findChildren<QWidget*>()) {
        if (auto* l = qobject_cast<LineWidget*>(w)) {
            l->setScale(scale);
            continue;
        }
        if (!w->property(kPoints).isValid())
            w->setProperty(kPoints, w->font().pointSizeF());
        QFont f = w->font();
        f.setPointSizeF(scaledPoints(w->property(kPoints).toDouble(), scale));
        w->setFont(f);
        const QVariant v = w->property(kTwips);
        if (v.isValid()) {
            const QRectF r = v.toRectF();
            w->setGeometry(pixelRect(w, {r.x(), r.y(), r.width(), r.height()}, scale));
        }
    }
}

void QtView::setFontSize(ControlRef c, double points)
{
    if (auto* w = qobject_cast<QWidget*>(resolve(c)); w && points > 0) {
        w->setProperty(kPoints, points);
        QFont f = w->font();
        f.setPointSizeF(scaledPoints(points, scale_));
        w->setFont(f);
    }
}

double QtView::fontSize(ControlRef c) const
{
    auto* w = qobject_cast<QWidget*>(find(c));
    if (!w)
        return 0;
    const QVariant points = w->property(kPoints);
    return points.isValid() ? points.toDouble() : w->font().pointSizeF();
}

void QtView::setBorderWidth(ControlRef c, int width)
{
    if (auto* l = qobject_cast<LineWidget*>(resolve(c)))
        l->setBorderWidth(width);
}

int QtView::borderWidth(ControlRef c) const
{
    auto* l = qobject_cast<LineWidget*>(find(c));
    return l ? l->borderWidth() : 0;
}

void QtView::setChecked(ControlRef c, bool checked)
{
    if (auto* action = qobject_cast<QAction*>(resolve(c))) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

bool QtView::isChecked(ControlRef c) const
{
    auto* action = qobject_cast<QAction*>(find(c));
    return action && action->isChecked();
}

void QtView::showMessage(std::string_view title, std::string_view text, MessageIcon icon)
{
    if (messageHandler_) {
        messageHandler_(title, text, icon);
        return;
    }
    const auto qIcon = icon == MessageIcon::Critical      ? QMessageBox::Critical
                       : icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                          : QMessageBox::Information;
    QMessageBox box(qIcon, qs(title), qs(text), QMessageBox::Ok, root_);
    box.exec();
}

} // namespace vcm
