// Item-wise access to INI files: every read opens the file anew, every write
// replaces it atomically under a lock, so a crash or a second running copy of the
// program never loses an item.
#pragma once

#include "storage/file_path.h"

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

// A read returns at most this many bytes of a value (in the file encoding); the
// Windows functions the files must stay compatible with use a 10,240-byte buffer.
inline constexpr std::size_t kIniValueLimit = 10239;

// Value of section/key, UTF-8; empty when the file, section or key is missing.
// Leading bytes 0x01-0x20 of the path, section and key are skipped; when one of
// them is then empty, the disk is not touched.
std::string readIniItem(const FilePath& file, std::string_view section, std::string_view key);
// The values of several keys of one section, from one read of the file: items that
// belong together (a roster's numbers and names) come from the same version of it.
std::vector<std::string> readIniItems(const FilePath& file, std::string_view section,
                                      std::initializer_list<std::string_view> keys);

// Sets section/key to value (UTF-8, stored in the file encoding). The file and the
// section are created when missing, the folder is not. Refuses (writes nothing,
// returns false) a value that would not read back whole: longer than
// kIniValueLimit bytes or holding a line break.
[[nodiscard]] bool writeIniItem(const FilePath& file, std::string_view section, std::string_view key,
                                std::string_view value);

// Sets several items of one section in one replace of the file, so that no reader
// and no crash ever sees some of them changed and the others not. Refuses all
// (writes nothing) when any one would not read back whole.
struct IniItem {
    std::string_view key;
    std::string_view value;
};
[[nodiscard]] bool writeIniItems(const FilePath& file, std::string_view section, std::initializer_list<IniItem> items);

// Changes one item as a single read-change-write under the folder's lock, so that
// a second running copy of the program changing the same item in between cannot
// be lost: change gets the value as stored (UTF-8, empty when missing) and gives
// the new value, or nothing to leave the file untouched. False when the write
// failed or the new value would not read back whole; true when written or left alone.
[[nodiscard]] bool changeIniItem(const FilePath& file, std::string_view section, std::string_view key,
                                 const std::function<std::optional<std::string>(std::string_view value)>& change);

// True when a value can be written and read back unchanged: no line break, within
// kIniValueLimit, and no character the file encoding would store as another.
bool fitsIniValue(std::string_view value);

} // namespace tallyra
