#include "ui/windows/class_box.h"

#include "storage/classes.h"

namespace tallyra::ui {

std::vector<std::string> fillClassBox(Toolkit& toolkit, WindowId window, std::string_view unit, const DataFolder& data,
                                      std::string_view select) {
    classes::Listing listing = classes::readListing(data);
    if (listing.failure) toolkit.showMessage(listing.failure->message());
    toolkit.clearItems(window, unit);
    for (const std::string& name : listing.classes)
        toolkit.addItem(window, unit, name);
    const std::string_view chosen = !select.empty() ? select : std::string_view(listing.current);
    if (!listing.list.empty() && listing.list.find(',') == std::string::npos && select.empty()) {
        toolkit.setSelection(window, unit, 0);
    } else {
        for (std::size_t i = 0; i < listing.classes.size(); ++i)
            if (listing.classes[i] == chosen) toolkit.setSelection(window, unit, static_cast<int>(i));
    }
    return std::move(listing.classes);
}

} // namespace tallyra::ui
