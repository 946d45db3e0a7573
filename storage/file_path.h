// A file or folder path as the program passes it around: UTF-8 text with the
// platform's own separator. Only storage/platform/ turns it into what the system
// calls take (UTF-16 on Windows), so a Data folder under any user name works
// whatever the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace tallyra {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

class FilePath {
public:
    FilePath() = default;
    explicit FilePath(std::string utf8) : text_(std::move(utf8)) {}

    const std::string& utf8() const { return text_; }
    bool empty() const { return text_.empty(); }

    // The path of name inside this folder.
    FilePath operator/(std::string_view name) const {
        std::string joined = text_;
        if (!joined.empty() && !isSeparator(joined.back())) joined += kPathSeparator;
        return FilePath(joined.append(name));
    }

    // The folder that holds this path: everything before its last separator (a
    // drive root keeps its separator); empty for a bare name.
    FilePath parent() const {
        std::size_t cut = text_.size();
        while (cut > 0 && !isSeparator(text_[cut - 1]))
            --cut;
        if (cut == 0) return {};
        const bool root = cut == 1 || (cut == 3 && text_[1] == ':');
        return FilePath(text_.substr(0, root ? cut : cut - 1));
    }

    friend bool operator==(const FilePath&, const FilePath&) = default;

private:
    static bool isSeparator(char c) { return c == kPathSeparator || c == '/'; }

    std::string text_;
};

} // namespace tallyra
