#pragma once
// A View that keeps every property in memory: the state of a window without a window.
// The headless and replay hosts read their status from it; tests check it.
#include "View.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vcm {

class MemoryView : public View {
public:
    struct Props {
        std::string text;
        Color fore = colors::SystemText;
        Color back = colors::White;
        bool visible = true;
        bool enabled = true;
        Line line;
        Rect geometry;
        double fontSize = 0;
        int borderWidth = 0;
        bool checked = false;
        int writes = 0; // number of setText calls, for "skips work when unchanged" checks
    };
    struct Message {
        std::string title, text;
        MessageIcon icon;
    };

    void setText(ControlRef c, std::string_view text) override { auto& p = at(c); p.text = text; ++p.writes; }
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
    void showMessage(std::string_view title, std::string_view text, MessageIcon icon) override
    {
        messages.push_back({std::string(title), std::string(text), icon});
    }

    void setFontSize(ControlRef c, double size) override { at(c).fontSize = size; }
    double fontSize(ControlRef c) const override { return get(c).fontSize; }
    void setBorderWidth(ControlRef c, int width) override { at(c).borderWidth = width; }
    int borderWidth(ControlRef c) const override { return get(c).borderWidth; }
    void setChecked(ControlRef c, bool checked) override { at(c).checked = checked; }
    bool isChecked(ControlRef c) const override { return get(c).checked; }

    // Direct access for set-up and checks.
    Props& props(std::string_view name, int index = -1) { return at({name, index}); }
    bool has(std::string_view name, int index = -1) const { return controls_.count({std::string(name), index}) != 0; }

    std::vector<Message> messages;

private:
    using Key = std::pair<std::string, int>;
    Props& at(ControlRef c) { return controls_[{std::string(c.name), c.index}]; }
    const Props& get(ControlRef c) const
    {
        static const Props none;
        auto it = controls_.find({std::string(c.name), c.index});
        return it == controls_.end() ? none : it->second;
    }
    std::map<Key, Props> controls_;
};

} // namespace vcm
