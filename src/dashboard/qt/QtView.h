#pragma once
// vcm::View over a window's widgets, found by object name. A control array is a set
// of widgets with the same object name and a dynamic property "index" (the element).
// Labels, buttons, group boxes (frames), line controls, menu actions and the window
// itself (its caption) are understood. Positions are in twips.
#include "dashboard/qt/View.h"

#include <QHash>
#include <QPair>
#include <QString>

#include <functional>
#include <map>
#include <set>
#include <string>

class QObject;
class QWidget;

namespace vcm {

class QtView : public View {
public:
    explicit QtView(QWidget* root);

    // Rebuilds the name index from the root's descendants (after the window is built).
    void reindex();
    // Adds one control created after reindex().
    void add(QObject* control);
    QObject* find(ControlRef c) const;
    QWidget* widget(ControlRef c) const;


    // Draws every control of the area below the root at scale times its size in twips and
    // its font size (1 = as designed), for a screen too small for the design. Positions
    // and font sizes read and written through the View stay those of the design.
    void setFormScale(QWidget* area, double scale);
    double formScale() const { return scale_; }

    // The colour that the "system text colour" number stands for on this window.
    void setSystemTextColor(Color c) { systemText_ = c; }

    // Where message boxes go: a modal box by default; tests and headless hosts replace it.
    using MessageHandler = std::function<void(std::string_view title, std::string_view text, MessageIcon icon)>;
    void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

    // Names the core asked for that the window does not have (kept, so nothing is lost,
    // and reported by tests: a name mismatch between core and window is a bug).
    const std::set<std::pair<std::string, int>>& unknownControls() const { return unknown_; }

    void setText(ControlRef c, std::string_view text) override;
    std::string text(ControlRef c) const override;
    void setForeColor(ControlRef c, Color color) override;
    Color foreColor(ControlRef c) const override;
    void setBackColor(ControlRef c, Color color) override;
    Color backColor(ControlRef c) const override;
    void setVisible(ControlRef c, bool visible) override;
    bool isVisible(ControlRef c) const override;
    void setEnabled(ControlRef c, bool enabled) override;
    bool isEnabled(ControlRef c) const override;
    void setLine(ControlRef c, const Line& line) override;
    Line line(ControlRef c) const override;
    void setGeometry(ControlRef c, const Rect& r) override;
    Rect geometry(ControlRef c) const override;
    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override;
    // Font size in points, the pen width of a line control in pixels, a menu check mark.
    void setFontSize(ControlRef c, double points) override;
    double fontSize(ControlRef c) const override;
    void setBorderWidth(ControlRef c, int width) override;
    int borderWidth(ControlRef c) const override;
    void setChecked(ControlRef c, bool checked) override;
    bool isChecked(ControlRef c) const override;

private:
    using Key = QPair<QString, int>;
    static Key keyOf(ControlRef c);
    // The control, creating a missing element of an existing label array on demand.
    QObject* resolve(ControlRef c);
    QObject* cloneElement(ControlRef c);
    void noteUnknown(ControlRef c) const;

    struct Fallback {
        std::string text;
        Color fore = colors::SystemText, back = colors::White;
        bool visible = true, enabled = true;
        Line line;
        Rect geometry;
    };
    Fallback& fallback(ControlRef c);
    const Fallback* fallbackIfAny(ControlRef c) const;

    QWidget* root_;
    double scale_ = 1.0;
    QHash<Key, QObject*> controls_;
    Color systemText_ = colors::White;
    MessageHandler messageHandler_;
    mutable std::set<std::pair<std::string, int>> unknown_;
    std::map<std::pair<std::string, int>, Fallback> fallbacks_;
};

} // namespace vcm
