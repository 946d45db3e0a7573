#include "ui/kit/toolkit.h"

#include "ui/kit/float_button.h"

#include <vector>

namespace tallyra::ui {

// Works on any backend through the other combo box operations; a backend may do it in place.
void Toolkit::setItemText(WindowId window, std::string_view unit, int index, std::string_view text) {
    const int count = itemCount(window, unit);
    if (index < 0 || index >= count) return;
    const int selected = selection(window, unit);
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i)
        items.push_back(i == index ? std::string(text) : itemText(window, unit, i));
    clearItems(window, unit);
    for (const std::string& item : items)
        addItem(window, unit, item);
    setSelection(window, unit, selected);
}

std::string Toolkit::selectedItemText(WindowId window, std::string_view unit) const {
    const int selected = selection(window, unit);
    return selected < 0 ? std::string() : itemText(window, unit, selected);
}

} // namespace tallyra::ui

namespace tallyra::ui {

std::unique_ptr<FloatButton> Toolkit::createFloatButton(const FloatButtonOptions&, FloatButtonEvents&) {
    return nullptr;
}

} // namespace tallyra::ui
