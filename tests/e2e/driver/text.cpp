// Conversions between UTF-16, UTF-8 and GBK, and whole-file reads and writes.
#include "text.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace e2e {
namespace {

std::string narrow(std::wstring_view text, unsigned codePage, bool strict, bool* lossy) {
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    // Code page 65001 refuses the used-default flag.
    BOOL* flag = strict ? &usedDefault : nullptr;
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    const int size = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, flag);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, flag);
    if (lossy) *lossy = usedDefault != FALSE;
    return out;
}

std::wstring widen(std::string_view bytes, unsigned codePage) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return out;
}

} // namespace

std::string toUtf8(std::wstring_view text) { return narrow(text, CP_UTF8, false, nullptr); }
std::wstring fromUtf8(std::string_view text) { return widen(text, CP_UTF8); }

std::optional<std::string> toGbk(std::wstring_view text) {
    bool lossy = false;
    std::string bytes = narrow(text, kGbkCodePage, true, &lossy);
    if (lossy) return std::nullopt;
    return bytes;
}

std::wstring fromGbk(std::string_view bytes) { return widen(bytes, kGbkCodePage); }

std::string visible(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else if (c == L'\t') out += L"\\t";
        else if (c < 0x20) {
            wchar_t escaped[8];
            swprintf(escaped, 8, L"\\x%02x", static_cast<unsigned>(c));
            out += escaped;
        } else out += c;
    }
    return "\"" + toUtf8(out) + "\"";
}

std::string visibleGbk(std::string_view bytes) {
    return visible(fromGbk(bytes)) + " (" + std::to_string(bytes.size()) + " bytes)";
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::string> iniLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (!line.empty()) lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace e2e
