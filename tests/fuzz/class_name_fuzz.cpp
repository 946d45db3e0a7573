// Every name the add-class check accepts is a file of its own in Data on Windows:
// no separator or other character a file name cannot hold, no device name in any
// of its forms, not the settings file, no blank at either end or dot at the end,
// and distinct from every listed class as Windows compares names. The oracles
// below are written apart from the check they test. Windows' own view of the
// names is proven by the Wine test that replays this target's corpus
// (tests/wine/class_name_replay_test.cpp).
#include "storage/file_names.h"
#include "storage/roster.h"
#include "tests/fuzz/class_name_input.h"
#include "tests/fuzz/fuzz_support.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

namespace tallyra::fuzz {
namespace {

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return upper;
}

// Windows opens a device for its name followed by nothing, by blanks, or by
// blanks and any extension: "con", "CON .txt", "Com¹.a".
bool namesADevice(std::string_view name) {
    const std::string upper = asciiUpper(name);
    std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* port : {"COM", "LPT"}) {
        for (char digit = '0'; digit <= '9'; ++digit)
            devices.push_back(std::string(port) + digit);
        for (const char* superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"})
            devices.push_back(std::string(port) + superscript);
    }
    for (const std::string& device : devices) {
        if (!upper.starts_with(device)) continue;
        std::string_view rest = std::string_view(upper).substr(device.size());
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        if (rest.empty() || rest.front() == '.') return true;
    }
    return false;
}

void checkAcceptedName(const ClassNameInput& input) {
    const std::string& name = input.newName;
    for (unsigned char c : name) {
        FUZZ_REQUIRE(c >= 0x20 && c != 0x7F);
        FUZZ_REQUIRE(std::string_view("\\/:*?\"<>|,").find(static_cast<char>(c)) == std::string_view::npos);
    }
    FUZZ_REQUIRE(name.front() != ' ' && name.back() != ' ' && name.back() != '.');
    FUZZ_REQUIRE(!namesADevice(name));
    FUZZ_REQUIRE(asciiUpper(name) != "CONFIG" && upperCaseFileName(name) != "CONFIG");
    FUZZ_REQUIRE(characterCount(name) <= kClassNameMaxCharacters);
    for (const std::string& other : input.listed) {
        FUZZ_REQUIRE(asciiUpper(other) != asciiUpper(name));
        FUZZ_REQUIRE(upperCaseFileName(other) != upperCaseFileName(name));
    }

    // The roster file can be made, as a new regular file, right in the Data folder.
    scratch().clear();
    const std::string fileName = name + ".conf";
    const std::filesystem::path file = toFsPath(fuzz::scratch().dataFolder().rosterFile(name));
    FUZZ_REQUIRE(file.parent_path() == scratch().data());
    const int fd = ::open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    FUZZ_REQUIRE(fd >= 0);
    ::close(fd);
    struct stat status {};
    FUZZ_REQUIRE(::lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode));
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch().data())) {
        FUZZ_REQUIRE(entry.path().filename().string() == fileName);
        ++entries;
    }
    FUZZ_REQUIRE(entries == 1);
}

} // namespace
} // namespace tallyra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyra::fuzz;
    const auto input = readClassNameInput({reinterpret_cast<const char*>(data), size});
    if (input && acceptedAsNewClass(*input)) checkAcceptedName(*input);
    return 0;
}
