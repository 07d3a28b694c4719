#pragma once
// A View that keeps every property in memory, for the tests of the layout code that still
// addresses the window's controls by name (DialLayout, DisplayLayout, ScreenFit).
#include "common/View.h"

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
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
    bool has(std::string_view name, int index = -1) const { return controls_.find(LookupKey{name, index}) != controls_.end(); }

    std::vector<Message> messages;

private:
    // Looked up on every property write of every tick: hashed, and found by a view of
    // the name without building a string.
    using Key = std::pair<std::string, int>;
    using LookupKey = std::pair<std::string_view, int>;
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const LookupKey& k) const
        {
            return std::hash<std::string_view>{}(k.first) ^ (static_cast<std::size_t>(k.second + 1) * 0x9E3779B97F4A7C15ull);
        }
        std::size_t operator()(const Key& k) const { return (*this)(LookupKey{k.first, k.second}); }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const
        {
            return a.second == b.second && std::string_view(a.first) == std::string_view(b.first);
        }
    };

    Props& at(ControlRef c)
    {
        if (auto it = controls_.find(LookupKey{c.name, c.index}); it != controls_.end())
            return it->second;
        return controls_[Key{std::string(c.name), c.index}];
    }
    const Props& get(ControlRef c) const
    {
        static const Props none;
        auto it = controls_.find(LookupKey{c.name, c.index});
        return it == controls_.end() ? none : it->second;
    }
    std::unordered_map<Key, Props, KeyHash, KeyEqual> controls_;
};

} // namespace vcm
