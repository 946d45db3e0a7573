// What every fuzz target shares: a property check that stops the run with a
// message (libFuzzer then saves the input), and a scratch program folder that is
// removed when the process ends.
#pragma once

#include "storage/data_folder.h"
#include "tests/support/file_paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tallyra::fuzz {

[[noreturn]] inline void propertyBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\n%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_REQUIRE(condition)                                                                                        \
    do {                                                                                                               \
        if (!(condition)) ::tallyra::fuzz::propertyBroken(#condition, __FILE__, __LINE__);                             \
    } while (false)

// The program's folder for the whole run: Data/ inside it, the run directory pointed at it.
class ScratchProgramFolder {
public:
    ScratchProgramFolder()
        : path_(std::filesystem::temp_directory_path() / ("tallyra-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_ / "Data");
    }
    ~ScratchProgramFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path data() const { return path_ / "Data"; }
    DataFolder dataFolder() const { return DataFolder(toFilePath(data())); }

    // Empties the Data folder, so that every input starts from the same state.
    void clear() const {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(data(), ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }

private:
    std::filesystem::path path_;
};

// One per process; libFuzzer ends with exit(), which runs its destructor.
inline const ScratchProgramFolder& scratch() {
    static const ScratchProgramFolder folder;
    return folder;
}

inline std::string fileBytes(const std::filesystem::path& file) {
    std::string bytes;
    if (std::FILE* in = std::fopen(file.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            bytes.append(buffer, n);
        std::fclose(in);
    }
    return bytes;
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    FUZZ_REQUIRE(out != nullptr);
    FUZZ_REQUIRE(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
    std::fclose(out);
}

} // namespace tallyra::fuzz
