#include "storage/lists.h"

namespace tallyra {

std::vector<std::string> splitList(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (delimiter.empty()) return {std::string(text)};
    std::size_t start = 0;
    for (std::size_t found = text.find(delimiter); found != std::string_view::npos;
         found = text.find(delimiter, start)) {
        items.emplace_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    if (start < text.size()) items.emplace_back(text.substr(start));
    return items;
}

std::string joinList(const std::vector<std::string>& texts) {
    std::string joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) joined += ',';
        joined += texts[i];
    }
    return joined;
}

} // namespace tallyra
