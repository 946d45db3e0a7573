// The file layer under faults: files that cannot be read, links planted under the
// names it creates, and the folder lock reached through two paths.
#include "data_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tallyra::testing {
namespace {

namespace fs = std::filesystem;
using platform::ReadOutcome;

class FileSystem : public DataFolderTest {
protected:
    FilePath path(const char* name) const { return toFilePath(data() / name); }
    fs::path outside() const { return root_ / "outside"; }
};

#ifdef _WIN32

// A file held without sharing for longer than the retries, a folder and a device
// fail; a second drive letter for the same folder meets the same lock.
TEST_F(FileSystem, HeldFilesFailAndTheLockHoldsAcrossDriveLetters) {
    writeBytes(config(), "abc");
    EXPECT_EQ(platform::readFile(path("none")).outcome, ReadOutcome::Missing);
    EXPECT_EQ(platform::readFile(FilePath("NUL")).outcome, ReadOutcome::Failed);
    EXPECT_EQ(platform::readFile(toFilePath(data())).outcome, ReadOutcome::Failed);
    const HANDLE held = CreateFileW(config().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(platform::readFile(toFilePath(config())).outcome, ReadOutcome::Failed);
    CloseHandle(held);
    EXPECT_EQ(platform::readFile(toFilePath(config())).bytes, "abc");
    // Hard links planted under the names a write tries first are left alone.
    writeBytes(outside(), "keep");
    for (int n = -1; n < 20; ++n) { // the bare process id is the name older copies used
        const std::wstring suffix = std::to_wstring(GetCurrentProcessId()) + (n < 0 ? L"" : L"-" + std::to_wstring(n));
        for (const std::wstring name : {L"Config.conf.tmp", L".tallyra-write-test."})
            ASSERT_TRUE(CreateHardLinkW((data() / (name + suffix)).c_str(), outside().c_str(), nullptr));
    }
    EXPECT_TRUE(platform::canWriteInFolder(toFilePath(data())));
    EXPECT_TRUE(platform::replaceFileAtomically(toFilePath(config()), "new"));
    EXPECT_EQ(readBytes(outside()), "keep");

    // Wine's drive Z: is the Unix root, so the folder can be reached through a second drive letter.
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr) GTEST_SKIP() << "a second drive letter for one folder is set up under Wine only";
    char* unix = unixName(data().c_str());
    const FilePath alias(std::string("Z:") + unix);
    HeapFree(GetProcessHeap(), 0, unix);
    {
        const platform::FolderLock lock(toFilePath(data()));
        ASSERT_TRUE(lock.held());
        const platform::FolderLock other(alias, std::chrono::milliseconds(300));
        EXPECT_TRUE(!other.held() && other.busy());
    }
    EXPECT_TRUE(platform::FolderLock(alias, std::chrono::milliseconds(300)).held());
    EXPECT_FALSE(std::filesystem::exists(data() / platform::kFolderLockName));
}

#else

TEST_F(FileSystem, ReadTellsMissingReadAndFailedApart) {
    writeBytes(data() / "plain", "abc");
    ASSERT_EQ(::mkfifo((data() / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", data() / "zero");
    fs::create_symlink("nowhere", data() / "dangling");
    fs::create_symlink("loop", data() / "loop");
    fs::create_directory(data() / "folder");
    writeBytes(data() / "huge", "");
    fs::resize_file(data() / "huge", platform::kReadLimit + 1);
    writeBytes(data() / "hooked", "x");
    platform::setReadFailureHook([&](const FilePath& file) { return file == path("hooked"); });
    const struct {
        const char* name;
        ReadOutcome outcome;
    } kCases[] = {
        {"plain", ReadOutcome::Read},     {"absent", ReadOutcome::Missing}, {"dangling", ReadOutcome::Missing},
        {"fifo", ReadOutcome::Failed},    {"zero", ReadOutcome::Failed},    {"folder", ReadOutcome::Failed},
        {"huge", ReadOutcome::Failed},    {"hooked", ReadOutcome::Failed},  {"loop", ReadOutcome::Failed},
        {"plain/x", ReadOutcome::Failed}, // ENOTDIR
    };
    for (const auto& c : kCases) {
        const platform::FileRead read = platform::readFile(path(c.name));
        EXPECT_EQ(read.outcome, c.outcome) << c.name;
        EXPECT_EQ(read.bytes, c.outcome == ReadOutcome::Read ? "abc" : "") << c.name;
    }
    platform::setReadFailureHook(nullptr);
    platform::setDeleteFailureHook([](const FilePath&) { return true; });
    EXPECT_FALSE(platform::deleteFile(path("hooked")) || !fs::exists(data() / "hooked"));
    platform::setDeleteFailureHook(nullptr);
    fs::permissions(data() / "plain", fs::perms::none);
    EXPECT_EXIT(
        {
            if (::getuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
            std::_Exit(platform::readFile(path("plain")).outcome == ReadOutcome::Failed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Links planted under the temporary and probe names this process would try first
// are never followed; a link the teacher made (a synced file) is written through.
TEST_F(FileSystem, WritesNeverFollowPlantedLinksButKeepTheFilesOwnLinkAndMode) {
    writeBytes(outside(), "keep");
    for (int n = -1; n < 20; ++n) { // the bare process id is the name older copies used
        const std::string suffix = std::to_string(::getpid()) + (n < 0 ? "" : "-" + std::to_string(n));
        fs::create_symlink(outside(), data() / ("Config.conf.tmp" + suffix));
        fs::create_symlink(outside(), data() / (".tallyra-write-test." + suffix));
    }
    writeBytes(config(), "old");
    fs::permissions(config(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(platform::canWriteInFolder(toFilePath(data())));
    EXPECT_TRUE(platform::replaceFileAtomically(toFilePath(config()), "new"));
    EXPECT_EQ(readBytes(outside()), "keep");
    EXPECT_EQ(readBytes(config()), "new");
    EXPECT_EQ(fs::status(config()).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::create_symlink(outside(), data() / "linked.conf");
    EXPECT_TRUE(platform::replaceFileAtomically(path("linked.conf"), "synced"));
    EXPECT_TRUE(fs::is_symlink(data() / "linked.conf"));
    EXPECT_EQ(readBytes(outside()), "synced");
}

// Another process reaching the folder through a symbolic link meets the same lock,
// gives up after its wait instead of hanging, and gets it once it is free.
TEST_F(FileSystem, TheFolderLockHoldsAcrossProcessesAndPaths) {
    fs::create_directory_symlink(data(), root_ / "alias");
    const FilePath alias = toFilePath(root_ / "alias");
    {
        const platform::FolderLock lock(toFilePath(data()));
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(platform::filesInFolder(alias), std::vector<std::string>{}); // the lock file is no data
        EXPECT_EXIT(
            {
                const platform::FolderLock other(alias, std::chrono::milliseconds(300));
                std::_Exit(!other.held() && other.busy() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    EXPECT_FALSE(fs::exists(data() / platform::kFolderLockName));
    EXPECT_EXIT(std::_Exit(platform::FolderLock(alias, std::chrono::milliseconds(300)).held() ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(platform::FolderLock(toFilePath(root_ / "none")).busy()); // a missing folder is no busy one
}

#endif

} // namespace
} // namespace tallyra::testing
