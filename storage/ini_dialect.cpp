#include "storage/ini_dialect.h"

#include <algorithm>

#include "storage/text_encoding.h"

namespace tallyra::ini {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

enum class LineKind { Blank, Comment, Section, Item };

struct Line {
    std::size_t start = 0; // first byte of the line
    std::size_t end = 0;   // one past the last byte before the line break
    std::size_t next = 0;  // first byte of the following line
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section name or key, trimmed
    std::string_view value; // item value, trimmed
};

// The line that starts at pos. Lines are read one at a time, so a file of millions
// of lines costs no memory beyond its bytes.
Line lineAt(std::string_view bytes, std::size_t pos) {
    Line line;
    line.start = pos;
    const std::size_t newline = bytes.find('\n', pos);
    line.next = newline == std::string_view::npos ? bytes.size() : newline + 1;
    line.end = newline == std::string_view::npos ? bytes.size() : newline;
    if (line.end > line.start && bytes[line.end - 1] == '\r') --line.end;
    const std::string_view text = trim(bytes.substr(line.start, line.end - line.start));
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (text.front() == '[') {
        line.kind = LineKind::Section;
        const std::size_t close = text.rfind(']');
        line.name = trim(close == std::string_view::npos || close == 0 ? text.substr(1) : text.substr(1, close - 1));
    } else {
        line.kind = LineKind::Item;
        const std::size_t equals = text.find('=');
        line.name = trim(text.substr(0, equals));
        if (equals != std::string_view::npos) line.value = trim(text.substr(equals + 1));
    }
    return line;
}

struct Location {
    std::optional<Line> item;          // the matching item line
    std::optional<Line> lastOfSection; // the last non-blank line of the section
};

// Only the first section of a name counts, as with the platform's own functions:
// a key found only in a later section of the same name is not there, and a new
// key joins the first section.
Location locate(std::string_view bytes, std::string_view section, std::string_view key) {
    Location found;
    bool inSection = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const Line line = lineAt(bytes, pos);
        pos = line.next;
        if (line.kind == LineKind::Section) {
            if (inSection) return found; // the first section ended
            inSection = namesMatch(line.name, section);
            if (inSection) found.lastOfSection = line;
            continue;
        }
        if (!inSection || line.kind == LineKind::Blank) continue;
        found.lastOfSection = line;
        if (line.kind == LineKind::Item && namesMatch(line.name, key)) {
            found.item = line;
            return found;
        }
    }
    return found;
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

// A value held between one pair of the same quotes reads without them.
bool isQuoted(std::string_view value) {
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

} // namespace

bool namesMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t length = fileCharLength(a, i);
        if (length == 1) {
            if (foldAscii(a[i]) != foldAscii(b[i])) return false;
        } else if (a.substr(i, length) != b.substr(i, length)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<std::string_view> findValue(std::string_view bytes, std::string_view section, std::string_view key) {
    const Location found = locate(bytes, section, key);
    if (!found.item) return std::nullopt;
    const std::string_view value = found.item->value;
    return isQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view kLineBreak = "\r\n";
    const Location found = locate(bytes, section, key);
    // A value that would lose its quotes on reading gets one more pair (the blanks
    // around it are never kept anyway).
    std::string quoted;
    if (isQuoted(trim(value))) {
        quoted.append("\"").append(trim(value)).append("\"");
        value = quoted;
    }
    std::string out;
    out.reserve(bytes.size() + key.size() + value.size() + section.size() + 8);

    if (found.item) {
        // Keep the key as it was spelt; replace only what follows it.
        const Line& line = *found.item;
        out.append(bytes.substr(0, line.start));
        out.append(line.name).append("=").append(value);
        out.append(bytes.substr(line.end));
        return out;
    }
    if (found.lastOfSection) {
        const Line& last = *found.lastOfSection;
        out.append(bytes.substr(0, last.next));
        // The section's last line may end the file without a line break, or with a lone CR,
        // which would not end the line: the new key would become part of its value.
        if (last.next == 0 || bytes[last.next - 1] != '\n') out.append(kLineBreak);
        out.append(key).append("=").append(value).append(kLineBreak);
        out.append(bytes.substr(last.next));
        return out;
    }
    out.append(bytes);
    if (!out.empty() && out.back() != '\n') out.append(kLineBreak);
    out.append("[").append(section).append("]").append(kLineBreak);
    out.append(key).append("=").append(value).append(kLineBreak);
    return out;
}

bool readsAsIniText(std::string_view fileBytes) {
    if (fileBytes.starts_with("\xEF\xBB\xBF")) fileBytes.remove_prefix(3);
    if (fileBytes.find('\0') != std::string_view::npos) return false;
    while (!fileBytes.empty()) {
        const std::size_t end = std::min(fileBytes.find('\n'), fileBytes.size());
        std::string_view line = fileBytes.substr(0, end);
        fileBytes.remove_prefix(std::min(end + 1, fileBytes.size()));
        const std::size_t first = line.find_first_not_of(" \t\r\v\f");
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        if (line.front() != ';' && line.front() != '#' && line.front() != '[' &&
            line.find('=') == std::string_view::npos)
            return false;
    }
    return true;
}

} // namespace tallyra::ini
