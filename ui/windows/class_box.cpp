#include "ui/windows/class_box.h"

#include "draw/class_session.h"
#include "storage/classes.h"

namespace tallyra::ui {

std::vector<std::string> fillClassBox(Toolkit& toolkit, WindowId window, std::string_view unit, const DataFolder& data,
                                      std::string_view select) {
    classes::Listing listing = classes::readListing(data);
    if (listing.failure) toolkit.showMessage(*listing.failure);
    toolkit.clearItems(window, unit);
    for (const std::string& name : listing.classes)
        toolkit.addItem(window, unit, name);
    if (const int shown = shownClassIndex(listing, select); shown >= 0) toolkit.setSelection(window, unit, shown);
    return std::move(listing.classes);
}

} // namespace tallyra::ui
