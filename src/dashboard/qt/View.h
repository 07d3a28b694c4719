#pragma once
// The window's controls by name: caption, colours, visibility, enabled flag, line end
// points and message boxes. Names are the widgets' object names ("SpeedValue",
// "CommStatus" element 0, "Histogr" 29); only the Qt layer addresses controls this way
// (the core hands the window a typed Dashboard). Positions and lengths are in twips
// (15 to a pixel at normal density).
#include "dashboard/qt/Color.h"
#include "common/Shapes.h"
#include "common/Notices.h"

#include <string>
#include <string_view>

namespace vcm {

struct ControlRef {
    std::string_view name;
    int index = -1; // element of a control array, -1 for a single control
};


class View {
public:
    virtual ~View() = default;

    virtual void setText(ControlRef c, std::string_view text) = 0;
    virtual std::string text(ControlRef c) const = 0;
    virtual void setForeColor(ControlRef c, Color color) = 0;
    virtual Color foreColor(ControlRef c) const = 0;
    virtual void setBackColor(ControlRef c, Color color) = 0;
    virtual Color backColor(ControlRef c) const = 0;
    virtual void setVisible(ControlRef c, bool visible) = 0;
    virtual bool isVisible(ControlRef c) const = 0;
    virtual void setEnabled(ControlRef c, bool enabled) = 0;
    virtual bool isEnabled(ControlRef c) const = 0;
    // A line control (needle, cross-hair, trace segment), end points in twips; its colour
    // is its fore colour.
    virtual void setLine(ControlRef c, const Line& line) = 0;
    virtual Line line(ControlRef c) const = 0;
    // Position and size of a control in twips. geometry() returns exactly what setGeometry()
    // stored (no rounding to pixels): zooming rescales relative to it.
    virtual void setGeometry(ControlRef c, const Rect& r) = 0;
    virtual Rect geometry(ControlRef c) const = 0;
    virtual void showMessage(std::string_view title, std::string_view text, MessageIcon icon) = 0;

    // Font size of a label in points, line thickness of a needle in pixels and the check
    // mark of a menu entry. Hosts without such properties keep the defaults.
    virtual void setFontSize(ControlRef, double) {}
    virtual double fontSize(ControlRef) const { return 0; }
    virtual void setBorderWidth(ControlRef, int) {}
    virtual int borderWidth(ControlRef) const { return 0; }
    virtual void setChecked(ControlRef, bool) {}
    virtual bool isChecked(ControlRef) const { return false; }
};

} // namespace vcm
