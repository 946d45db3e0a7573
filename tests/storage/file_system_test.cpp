// The file layer under faults: files that cannot be read, links planted under the
// names it creates, and the folder lock reached through two paths.
#include "data_folder.h"
#include "storage/ini_file.h"
#include "storage/pick_record.h"
#include "storage/roster.h"
#include "storage/student_marks.h"

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

// A folder under the lock's name is denied access as a busy lock file is, but no wait ends it.
TEST_F(FileSystem, ALockNameThatIsAFolderFailsAtOnce) {
    fs::create_directory(data() / platform::kFolderLockName);
    const platform::FolderLock taken(toFilePath(data()));
    EXPECT_TRUE(!taken.held() && !taken.busy() && taken.notAFile());
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
    using platform::FileProblem;
    // The streamed read has no size bound and says why it failed.
    const struct {
        const char* name;
        ReadOutcome outcome;
        ReadOutcome streamed;
        FileProblem problem;
    } kCases[] = {
        {"plain", ReadOutcome::Read, ReadOutcome::Read, FileProblem::None},
        {"absent", ReadOutcome::Missing, ReadOutcome::Missing, FileProblem::None},
        {"dangling", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::BrokenLink},
        {"fifo", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::NotAFile},
        {"zero", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::NotAFile},
        {"folder", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::NotAFile},
        {"huge", ReadOutcome::Failed, ReadOutcome::Read, FileProblem::None},
        {"hooked", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::Held},
        {"loop", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::Other},    // ELOOP
        {"plain/x", ReadOutcome::Failed, ReadOutcome::Failed, FileProblem::Other}, // ENOTDIR
    };
    for (const auto& c : kCases) {
        const platform::FileRead read = platform::readFile(path(c.name));
        EXPECT_EQ(read.outcome, c.outcome) << c.name;
        EXPECT_EQ(read.bytes, c.outcome == ReadOutcome::Read ? "abc" : "") << c.name;
        std::uint64_t streamedBytes = 0;
        const platform::StreamRead streamed =
            platform::readFileInPieces(path(c.name), [&](std::string_view piece) { streamedBytes += piece.size(); });
        EXPECT_EQ(streamed.outcome, c.streamed) << c.name;
        EXPECT_EQ(streamed.problem, c.problem) << c.name;
        EXPECT_EQ(streamedBytes, c.streamed == ReadOutcome::Read ? fs::file_size(data() / c.name) : 0u) << c.name;
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
}

// A link the teacher made (a synced file) is written through only to a regular
// file that reads as a file of its kind; the record, only ever appended to,
// follows a link to any regular file. Anything else writes nothing outside Data,
// and a pick then waits for the record.
TEST_F(FileSystem, WritesGoThroughALinkOnlyToARegularFileOfTheirKind) {
    enum Target { OfItsKind, OtherText, Dangling, Folder, Device };
    struct Kind {
        const char* name;
        std::string file;
        std::string ownBytes;
        std::function<bool(const DataFolder&)> write;
        bool appendOnly = false;
    };
    const Kind kinds[] = {
        {"settings", "Config.conf", "[Settings]\r\nVoice=1\r\n",
         [](const DataFolder& data) { return writeIniItem(data.settingsFile(), "Settings", "Voice", "0"); }},
        {"roster", "一班.conf", "[ClassData]\r\nNumber=1\r\nName=a\r\n",
         [](const DataFolder& data) {
             return writeRoster(data, "一班", {{"1", "2"}, {"a", "b"}});
         }},
        {"round", "一班.round", "[Round]\r\nNumber=[]\r\nName=[]\r\nPlace=[]\r\n",
         [](const DataFolder& data) {
             const auto round = [](const MarksFile&) { return MarkedStudents{{"1"}, {"a"}, {"1"}}; };
             return updateRoundFile(data, "一班", round).write == MarksWrite::Written;
         }},
        {"record", std::string(kPickRecordFileName), "时间,班级,学号,姓名\r\n",
         [](const DataFolder& data) {
             return PickRecorder(data).append({"t", "一班", "1", "a"}).written;
         },
         true},
    };
    const Target targets[] = {OfItsKind, OtherText, Dangling, Folder, Device};
    for (const Kind& kind : kinds) {
        for (const Target target : targets) {
            SCOPED_TRACE(std::string(kind.name) + " to target kind " + std::to_string(target));
            fs::remove_all(data());
            fs::create_directory(data());
            fs::remove_all(outside());
            const fs::path link = data() / pathFromUtf8(kind.file);
            fs::path to = outside();
            if (target == OfItsKind) writeBytes(outside(), kind.ownBytes);
            if (target == OtherText) writeBytes(outside(), "Dear parents,\nno lesson tomorrow.\n");
            if (target == Folder) fs::create_directory(outside());
            if (target == Device) to = "/dev/null";
            fs::create_symlink(to, link);
            const bool throughLink = target == OfItsKind || (kind.appendOnly && target == OtherText);
            const std::string before = fs::is_regular_file(to) ? readBytes(to) : "";
            EXPECT_EQ(kind.write(dataFolder()), throughLink);
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(fs::is_regular_file(to) && readBytes(to) != before, throughLink);
            EXPECT_EQ(fs::exists(outside()), target != Dangling && target != Device);
            const std::size_t waiting = kind.appendOnly && !throughLink ? 1 : 0; // the pick waits in Data
            EXPECT_EQ(parsePickRecord(readBytes(data(kWaitingPicksFileName))).size(), waiting);
        }
    }
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
    // A folder or a link under the lock's name is no other holder: no wait ends it, so it fails at once.
    fs::remove(data() / platform::kFolderLockName); // left by the copy that exited holding it
    for (const bool link : {false, true}) {
        if (link)
            fs::create_symlink(outside(), data() / platform::kFolderLockName);
        else
            fs::create_directory(data() / platform::kFolderLockName);
        const platform::FolderLock taken(toFilePath(data()));
        EXPECT_TRUE(!taken.held() && !taken.busy() && taken.notAFile()) << link;
        fs::remove_all(data() / platform::kFolderLockName);
    }
}

#endif

} // namespace
} // namespace tallyra::testing
