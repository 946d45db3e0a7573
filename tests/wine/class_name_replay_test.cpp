// The class-name fuzz target's corpus, replayed on Windows' own file names: every
// name the add-class check accepts becomes, in a Data folder that already holds
// the listed classes' files, a new regular file of its own (CREATE_NEW: not a
// device, not another class's file under other capitals), listed by the folder
// under exactly the name given. Reads the seed corpus in the source tree and what
// scripts/fuzz has found in build/fuzz/corpus/class_name.
#include "storage/data_folder.h"
#include "storage/roster.h"
#include "tests/fuzz/class_name_input.h"
#include "tests/support/file_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tallyra {
namespace {

// A path of the build machine as Wine sees it: drive Z: is the Unix root.
std::wstring fromUnixPath(std::string_view unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

std::vector<std::wstring> filesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string fileBytes(const std::wstring& file) {
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::wstring wide(std::string_view utf8) {
    return pathFromUtf8(utf8).wstring();
}

class ClassNameReplay : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        program_ = std::wstring(temp) + L"tallyra-replay-" + std::to_wstring(GetCurrentProcessId());
        data_ = program_ + L"\\Data";
    }
    void TearDown() override {
        clearData();
        RemoveDirectoryW(data_.c_str());
        RemoveDirectoryW(program_.c_str());
    }
    DataFolder dataFolder() const { return DataFolder(toFilePath(std::filesystem::path(data_))); }
    void clearData() {
        for (const std::wstring& name : filesIn(data_))
            DeleteFileW((data_ + L"\\" + name).c_str());
    }

    // One input: the listed classes' files first (as far as Windows lets them be
    // made), then the new name's, which must be a file of its own.
    void replay(const fuzz::ClassNameInput& input, const std::string& source) {
        clearData();
        CreateDirectoryW(program_.c_str(), nullptr);
        CreateDirectoryW(data_.c_str(), nullptr);
        for (const std::string& listed : input.listed) {
            const HANDLE file = CreateFileW(toFsPath(dataFolder().rosterFile(listed)).wstring().c_str(), GENERIC_WRITE, 0,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
        const std::vector<std::wstring> before = filesIn(data_);
        const std::wstring path = toFsPath(dataFolder().rosterFile(input.newName)).wstring();
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE)
            << source << ": \"" << input.newName << "\" is no new file (error " << GetLastError() << ")";
        EXPECT_EQ(GetFileType(file), static_cast<DWORD>(FILE_TYPE_DISK)) << source;
        CloseHandle(file);

        std::vector<std::wstring> after = filesIn(data_);
        EXPECT_EQ(after.size(), before.size() + 1) << source << ": \"" << input.newName << "\"";
        int named = 0;
        for (const std::wstring& name : after)
            named += name == wide(input.newName + ".conf");
        EXPECT_EQ(named, 1) << source << ": \"" << input.newName << "\" is not listed under its own name";
        const DWORD attributes = GetFileAttributesW(path.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) << source;
        ++accepted_;
    }

    std::wstring program_, data_;
    int accepted_ = 0;
};

TEST_F(ClassNameReplay, EveryAcceptedNameIsAFileOfItsOwn) {
    int inputs = 0;
    for (const char* corpus :
         {TALLYRA_SOURCE_DIR "/tests/fuzz/corpus/class_name", TALLYRA_SOURCE_DIR "/build/fuzz/corpus/class_name"}) {
        const std::wstring folder = fromUnixPath(corpus);
        for (const std::wstring& name : filesIn(folder)) {
            const auto input = fuzz::readClassNameInput(fileBytes(folder + L"\\" + name));
            ++inputs;
            if (!input || !fuzz::acceptedAsNewClass(*input)) continue;
            replay(*input, std::string(corpus) + "/" + std::filesystem::path(name).string());
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GE(inputs, 7); // the seeds at least
    EXPECT_GT(accepted_, 0);
    std::printf("replayed %d inputs, %d accepted names created\n", inputs, accepted_);
}

} // namespace
} // namespace tallyra
