// Bridges between the program's FilePath and std::filesystem, which the tests use
// to set up and inspect folders.
#pragma once

#include "storage/file_path.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace tallyra {

// A UTF-8 text as a path (std::filesystem would take a narrow string in the ANSI code page on Windows).
inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::filesystem::path toFsPath(const FilePath& path) {
    return pathFromUtf8(path.utf8());
}

inline FilePath toFilePath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return FilePath(std::string(text.begin(), text.end()));
}

// A std::filesystem path that the program's functions take as well.
struct TestPath : std::filesystem::path {
    TestPath(std::filesystem::path path) : std::filesystem::path(std::move(path)) {}
    operator FilePath() const { return toFilePath(*this); }
};

inline void PrintTo(const FilePath& path, std::ostream* out) {
    *out << '"' << path.utf8() << '"';
}

} // namespace tallyra
