// The main window's menu: the functions that have no unit of their own. A feature
// adds its items once, in the order they show; an item's text may be worked out
// afresh each time the menu opens (a state, a key that can change).
#pragma once

#include "ui/kit/toolkit.h"

#include <functional>
#include <string>
#include <vector>

namespace tallyra::ui {

class MainMenu {
public:
    using Text = std::function<std::string()>;
    using Action = std::function<void()>;
    using State = std::function<bool()>;

    // An item with a fixed text.
    void add(std::string text, Action action) {
        add([text = std::move(text)] { return text; }, std::move(action));
    }
    // An item whose text (and, when given, tick and availability) is asked when the menu opens.
    void add(Text text, Action action, State checked = {}, State enabled = {}) {
        entries_.push_back({std::move(text), std::move(action), std::move(checked), std::move(enabled)});
    }

    bool empty() const { return entries_.empty(); }
    std::vector<MenuItem> items() const {
        std::vector<MenuItem> items;
        for (const Entry& entry : entries_)
            items.push_back({entry.text(), entry.checked && entry.checked(), !entry.enabled || entry.enabled()});
        return items;
    }
    void choose(std::size_t index) const {
        if (index < entries_.size() && (!entries_[index].enabled || entries_[index].enabled()))
            entries_[index].action();
    }

private:
    struct Entry {
        Text text;
        Action action;
        State checked;
        State enabled;
    };
    std::vector<Entry> entries_;
};

} // namespace tallyra::ui
