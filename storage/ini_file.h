// Item-wise access to INI files: every read opens the file anew, every write
// replaces it atomically under a lock, so a crash or a second running copy of the
// program never loses an item.
#pragma once

#include "storage/file_path.h"
#include "storage/read_state.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyra {

// A read returns at most this many bytes of a value (in the file encoding); the
// Windows functions the files must stay compatible with use a 10,240-byte buffer.
inline constexpr std::size_t kIniValueLimit = 10239;

// The two item-wise helpers over IniDocument, for one item at a time.

// Value of section/key, UTF-8; empty when the file, section or key is missing.
// Leading bytes 0x01-0x20 of the path, section and key are skipped; when one of
// them is then empty, the disk is not touched.
std::string readIniItem(const FilePath& file, std::string_view section, std::string_view key);

// Sets section/key to value (UTF-8, stored in the file encoding) as one read,
// change and replace under the folder's lock, so that a second running copy of
// the program changing another item in between loses nothing. The file and the
// section are created when missing, the folder is not. Refuses (writes nothing,
// returns false) a value that would not read back whole (longer than
// kIniValueLimit bytes or holding a line break) and a file that could not be read.
[[nodiscard]] bool writeIniItem(const FilePath& file, std::string_view section, std::string_view key,
                                std::string_view value);

// True when a value can be written and read back unchanged: no line break, within
// kIniValueLimit, and no character the file encoding would store as another.
bool fitsIniValue(std::string_view value);

// One INI file read whole: the one reader and writer of every INI file the
// program keeps. Code that reads several items, decides, and writes them back in
// one replace holds the folder's lock itself around the read and the save; plain
// reads take no lock, since every replace is atomic.
class IniDocument {
public:
    using State = ReadState; // Missing, Read or Failed: the content is not checked here
    struct Value {
        std::string text; // UTF-8, at most kIniValueLimit bytes in the file encoding
        bool cut = false; // the stored value was longer: text is only its beginning
    };

    static IniDocument read(const FilePath& file);

    const FilePath& file() const { return file_; }
    ReadState state() const { return state_; }
    // The file exists but could not be read: it must not be written over.
    bool failed() const { return state_ == ReadState::Failed; }

    Value value(std::string_view section, std::string_view key) const;
    // Sets the item in memory; false (nothing changed) when it would not read back whole.
    [[nodiscard]] bool set(std::string_view section, std::string_view key, std::string_view value);
    // Drops every item, for a save that rebuilds the file from what is set next.
    void clear() { bytes_.clear(); }
    // Replaces the file with what was read and set; never after a failed read.
    [[nodiscard]] bool save() const;

private:
    FilePath file_;
    ReadState state_ = ReadState::Missing;
    std::string bytes_; // file encoding
};

} // namespace tallyra
