// Where the program keeps its files: the Data folder beside the executable.
// Paths are built anew for every access.
#pragma once

#include <filesystem>
#include <string_view>

namespace tallyra {

// Folder of the running executable (its module file name on Windows, /proc/self/exe on Linux).
std::filesystem::path runDirectory();
std::filesystem::path dataFolderPath();
std::filesystem::path settingsFilePath();

// Tests and tools point the program at another folder; an empty path restores the executable's own.
void overrideRunDirectory(const std::filesystem::path& folder);

// A UTF-8 text as a path (std::filesystem would take a narrow string in the ANSI code page on Windows).
std::filesystem::path pathFromUtf8(std::string_view utf8);

bool isDirectory(const std::filesystem::path& path);

// Creates every missing folder along path; true when it exists afterwards.
bool makeDirectoryPath(const std::filesystem::path& path);

} // namespace tallyra
