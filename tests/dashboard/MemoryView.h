#pragma once
// A View that keeps every property in memory, for the tests of the layout code that still
// addresses the window's controls by name (DialLayout, DisplayLayout, ScreenFit).
#include "common/View.h"

#include <map>
#include <string>
#include <utility>

namespace vcm {

class MemoryView : public View {
public:
    struct Props {
        std::string text;
        Color fore = colors::SystemText, back = colors::White;
        bool visible = true, enabled = true, checked = false;
        Line line;
        Rect geometry;
        double fontSize = 0;
        int borderWidth = 0;
    };

    void setText(ControlRef c, std::string_view text) override { at(c).text = text; }
    std::string text(ControlRef c) const override { return get(c).text; }
    void setForeColor(ControlRef c, Color color) override { at(c).fore = color; }
    Color foreColor(ControlRef c) const override { return get(c).fore; }
    void setBackColor(ControlRef c, Color color) override { at(c).back = color; }
    Color backColor(ControlRef c) const override { return get(c).back; }
    void setVisible(ControlRef c, bool visible) override { at(c).visible = visible; }
    bool isVisible(ControlRef c) const override { return get(c).visible; }
    void setEnabled(ControlRef c, bool enabled) override { at(c).enabled = enabled; }
    bool isEnabled(ControlRef c) const override { return get(c).enabled; }
    void setLine(ControlRef c, const Line& line) override { at(c).line = line; }
    Line line(ControlRef c) const override { return get(c).line; }
    void setGeometry(ControlRef c, const Rect& r) override { at(c).geometry = r; }
    Rect geometry(ControlRef c) const override { return get(c).geometry; }
    void showMessage(std::string_view, std::string_view, MessageIcon) override {}
    void setFontSize(ControlRef c, double size) override { at(c).fontSize = size; }
    double fontSize(ControlRef c) const override { return get(c).fontSize; }
    void setBorderWidth(ControlRef c, int width) override { at(c).borderWidth = width; }
    int borderWidth(ControlRef c) const override { return get(c).borderWidth; }

private:
    using Key = std::pair<std::string, int>;
    Props& at(ControlRef c) { return controls_[Key(c.name, c.index)]; }
    Props get(ControlRef c) const
    {
        const auto it = controls_.find(Key(c.name, c.index));
        return it == controls_.end() ? Props{} : it->second;
    }
    std::map<Key, Props> controls_;
};

} // namespace vcm
