// Conversions between UTF-16, UTF-8 and GBK, and whole-file reads and writes.
#include "text.h"

#include <windows.h>

#include <cstdio>

namespace e2e {
namespace {

std::string narrow(std::wstring_view text, unsigned codePage, bool strict, bool* lossy) {
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    // Code page 65001 refuses the used-default flag.
    BOOL* flag = strict ? &usedDefault : nullptr;
    const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    const int size =
        WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, flag);
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

std::string toUtf8(std::wstring_view text) {
    return narrow(text, CP_UTF8, false, nullptr);
}
std::wstring fromUtf8(std::string_view text) {
    return widen(text, CP_UTF8);
}

std::optional<std::string> toGbk(std::wstring_view text) {
    bool lossy = false;
    std::string bytes = narrow(text, kGbkCodePage, true, &lossy);
    if (lossy) return std::nullopt;
    return bytes;
}

std::wstring fromGbk(std::string_view bytes) {
    return widen(bytes, kGbkCodePage);
}

std::string visible(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r')
            out += L"\\r";
        else if (c == L'\n')
            out += L"\\n";
        else if (c == L'\t')
            out += L"\\t";
        else if (c < 0x20) {
            wchar_t escaped[8];
            swprintf(escaped, 8, L"\\x%02x", static_cast<unsigned>(c));
            out += escaped;
        } else
            out += c;
    }
    return "\"" + toUtf8(out) + "\"";
}

std::string visibleGbk(std::string_view bytes) {
    return visible(fromGbk(bytes)) + " (" + std::to_string(bytes.size()) + " bytes)";
}

// CreateFileW rather than std::fstream: MinGW's libstdc++ opens a path through the
// ANSI code page, which cannot name 一班.conf under code page 1252.
std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::vector<std::string> iniLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        if (!line.empty()) lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace e2e
