// The first-run step on the settings file.
#include "storage/settings.h"

#include "data_folder.h"
#include "storage/ini_file.h"
#include "storage/platform/file_system.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tallyra {
namespace {

using testing::readBytes;
using testing::writeBytes;

class FirstRunTest : public testing::DataFolderTest {
protected:
    FirstRunTest() { createDataFolder_ = false; }
};

using settings::FirstRun;
using settings::prepareFirstRun;

TEST_F(FirstRunTest, FreshFolderGetsTheFileInOrderAndOneNotice) {
    ASSERT_FALSE(std::filesystem::exists(data()));
    EXPECT_EQ(prepareFirstRun(dataFolder()), FirstRun::Prepared);
    EXPECT_TRUE(std::filesystem::is_directory(data()));
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");

    EXPECT_EQ(prepareFirstRun(dataFolder()), FirstRun::NotFirst); // the second start
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");
}

TEST_F(FirstRunTest, AnyMarkerButExactlyFalseRunsTheStepAgainAndKeepsDefault) {
    std::filesystem::create_directory(data());
    for (const char* marker : {"false", "FALSE", "True", "", " "}) {
        SCOPED_TRACE(marker);
        writeBytes(config(), std::string("[Settings]\r\nFirst=") + marker +
                                 "\r\nVoice=True\r\n[Class]\r\nClassName=一班,二班\r\nDefault=二班\r\n");
        writeBytes(data("二班.conf"), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
        EXPECT_EQ(prepareFirstRun(dataFolder()), FirstRun::Prepared);
        EXPECT_EQ(readIniItem(config(), "Settings", "First"), "False");
        EXPECT_EQ(readIniItem(config(), "Settings", "Voice"), "False");
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), "");
        EXPECT_EQ(readIniItem(config(), "Class", "Default"), "二班");
        EXPECT_EQ(readBytes(data("二班.conf")), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
    }
}

TEST_F(FirstRunTest, AFolderThatCannotBeCreatedIsReportedAndTriedAgain) {
#ifdef _WIN32
    const bool kLinkLoops[] = {false}; // symbolic links need privileges on Windows
#else
    const bool kLinkLoops[] = {false, true};
#endif
    for (bool linkLoop : kLinkLoops) {
        SCOPED_TRACE(linkLoop ? "Data is a link to itself" : "Data is a file");
        std::filesystem::remove(data());
        if (linkLoop) {
            std::filesystem::create_directory_symlink("Data", data());
        } else {
            writeBytes(data(), "a file where the folder should be");
        }
        EXPECT_EQ(prepareFirstRun(dataFolder()), FirstRun::WriteFailed);
        EXPECT_EQ(prepareFirstRun(dataFolder()),
                  FirstRun::WriteFailed); // nothing could be written: the next start tries again
    }
}

// Where the Data folder settles, with the user's own folder in a folder of the test.
class DataFolderPlaceTest : public testing::DataFolderTest {
protected:
    DataFolderPlaceTest() { createDataFolder_ = false; }
    void SetUp() override {
        DataFolderTest::SetUp();
        userBase_ = root_ / "用户 数据";
        std::filesystem::create_directories(userBase_);
#ifdef _WIN32
        SetEnvironmentVariableW(L"LOCALAPPDATA", userBase_.c_str());
#else
        setenv("XDG_DATA_HOME", userBase_.c_str(), 1);
#endif
    }
    TestPath userData() const {
        return userBase_ / "Tallyra" / "Data";
    }
    std::filesystem::path userBase_;
};

TEST_F(DataFolderPlaceTest, BesideTheProgramWhenWritableElseTheUsersFolderWithOneNotice) {
    const struct {
        const char* what;
        bool dataIsFile;     // a file where the folder would go: nothing can be kept beside
        bool userDataExists; // the user's folder from an earlier start
        bool expectUserFolder;
        bool expectNotice;
    } kCases[] = {
        {"no Data yet", false, false, false, false},
        {"Data is a file", true, false, true, true},
        {"Data is a file, user folder exists", true, true, true, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(data());
        std::filesystem::remove_all(userBase_ / "Tallyra");
        if (c.dataIsFile) writeBytes(data(), "a file, not a folder");
        if (c.userDataExists) {
            std::filesystem::create_directories(userData());
            writeBytes(userData() / "Config.conf", "kept");
        }
        const SettledDataFolder settled = settleDataFolder(toFilePath(root_));
        const auto& notice = settled.notice;
        const auto expected = c.expectUserFolder ? userData() : data();
        EXPECT_EQ(settled.folder.path(), expected);
        EXPECT_TRUE(std::filesystem::is_directory(expected));
        EXPECT_EQ(std::filesystem::exists(userBase_ / "Tallyra"), c.expectUserFolder);
        ASSERT_EQ(notice.has_value(), c.expectNotice);
        if (notice) {
            EXPECT_EQ(*notice, (Message{"数据保存位置",
                                        "程序所在的文件夹无法写入，班级和设置从现在起保存在：\r\n" +
                                            std::string(reinterpret_cast<const char*>(userData().u8string().c_str())),
                                        0x40}));
            const SettledDataFolder next = settleDataFolder(toFilePath(root_));
            EXPECT_FALSE(next.notice.has_value()) << "the next start says nothing";
            EXPECT_EQ(next.folder.path(), userData());
        }
        if (c.userDataExists) {
            EXPECT_EQ(readBytes(userData() / "Config.conf"), "kept");
        }
        if (c.dataIsFile) { // the program folder takes files again: the classes stay where they are
            writeBytes(userData() / "Config.conf", "kept");
            std::filesystem::remove(data());
            const SettledDataFolder back = settleDataFolder(toFilePath(root_));
            EXPECT_EQ(back.folder.path(), userData());
            EXPECT_FALSE(back.notice.has_value());
            EXPECT_FALSE(std::filesystem::exists(data()));
        }
    }
}

// Both folders hold data: the settings written last win, and a change of folder is told once.
TEST_F(DataFolderPlaceTest, TheFolderWrittenLastIsUsedAndAChangeIsTold) {
    std::filesystem::create_directories(data());
    std::filesystem::create_directories(userData());
    writeBytes(data("Config.conf"), "beside");
    writeBytes(userData() / "Config.conf", "own");
    const auto now = std::filesystem::file_time_type::clock::now();
    const struct {
        int besideAge, ownAge; // minutes
        bool expectOwn, expectNotice;
    } kCases[] = {{10, 20, false, false}, {20, 10, true, true}, {20, 10, true, false}, {5, 10, false, true}};
    for (const auto& c : kCases) {
        std::filesystem::last_write_time(data("Config.conf"), now - std::chrono::minutes(c.besideAge));
        std::filesystem::last_write_time(userData() / "Config.conf", now - std::chrono::minutes(c.ownAge));
        const SettledDataFolder settled = settleDataFolder(toFilePath(root_));
        EXPECT_EQ(settled.folder.path(), c.expectOwn ? userData() : data());
        EXPECT_EQ(settled.notice.has_value(), c.expectNotice);
    }
}

#ifdef _WIN32
// Without LOCALAPPDATA the shell, loaded only for this, names the user's folder.
TEST_F(DataFolderPlaceTest, WithoutLocalAppDataTheShellNamesTheUsersFolder) {
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    const FilePath base = platform::userDataBase();
    SetEnvironmentVariableW(L"LOCALAPPDATA", userBase_.c_str());
    ASSERT_FALSE(base.empty());
    EXPECT_TRUE(platform::isFolder(base)) << base.utf8();
}
#endif

#ifndef _WIN32
TEST_F(DataFolderPlaceTest, AProgramUnderUsrAlwaysUsesTheUsersFolder) {
    const SettledDataFolder settled = settleDataFolder(FilePath("/usr/lib/tallyra-test-that-does-not-exist"));
    EXPECT_FALSE(settled.notice.has_value()) << "the user's folder is the normal place there";
    EXPECT_EQ(settled.folder.path(), userData());
    EXPECT_EQ(settled.folder.settingsFile(), TestPath(userData() / "Config.conf"));
    EXPECT_FALSE(std::filesystem::exists("/usr/lib/tallyra-test-that-does-not-exist"));
}

// An existing Data folder that the user cannot write (a read-only share, a program
// folder of root's) is copied into the user's folder. Run as nobody: root writes anywhere.
TEST_F(DataFolderPlaceTest, AnUnwritableDataFolderIsCopiedIntoTheUsersFolder) {
    std::filesystem::create_directories(data());
    writeBytes(data("Config.conf"), "[Settings]\r\nFirst=False\r\n");
    writeBytes(data("一班.conf"), "[ClassData]\r\nNumber=1\r\nName=甲\r\n");
    std::filesystem::permissions(data(),
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(userBase_, std::filesystem::perms::all, std::filesystem::perm_options::add);
    // A copy that fails is never forgotten: the notice warns and names the old folder.
    for (const bool copyFails : {false, true}) {
        std::filesystem::remove_all(userBase_ / "Tallyra");
        EXPECT_EXIT(
            {
                if (::getuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
                if (copyFails) platform::setReplaceFailureHook([](const FilePath&) { return true; });
                const SettledDataFolder settled = settleDataFolder(toFilePath(root_));
                const auto& notice = settled.notice;
                const bool copied =
                    readBytes(userData() / "Config.conf") == "[Settings]\r\nFirst=False\r\n" &&
                    readBytes(userData() / pathFromUtf8("一班.conf")) == "[ClassData]\r\nNumber=1\r\nName=甲\r\n";
                std::_Exit(notice && notice->flags == (copyFails ? 0x30u : 0x40u) &&
                                   settled.folder.path() == userData() && copied != copyFails &&
                                   (notice->text.find(toFilePath(data()).utf8()) != std::string::npos) == copyFails
                               ? 0
                               : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
    EXPECT_EQ(readBytes(data("Config.conf")), "[Settings]\r\nFirst=False\r\n"); // the original stays
}
#endif

TEST(Locations, FilePathsJoinAndCutAtTheSeparator) {
    const struct {
        const char* path;
        const char* parent;
    } kCases[] = {
#ifdef _WIN32
        {"C:\\Tallyra\\Tallyra.exe", "C:\\Tallyra"},
        {"C:\\Tallyra.exe", "C:\\"},
        {"C:\\", "C:\\"},
        {"\\\\server\\share\\x.exe", "\\\\server\\share"},
        {"D:/桌面/点名 工具", "D:/桌面"},
#else
        {"/opt/tallyra/Tallyra", "/opt/tallyra"},
        {"/Tallyra", "/"},
        {"/", "/"},
        {"/home/桌面/点名 工具", "/home/桌面"},
#endif
        {"Tallyra.exe", ""},
        {"", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FilePath(c.path).parent(), FilePath(c.parent));
    }
    EXPECT_EQ((FilePath("") / "Data").utf8(), "Data");
    EXPECT_EQ(FilePath("x") / "Data" / "一班.conf",
              FilePath(std::string("x") + kPathSeparator + "Data" + kPathSeparator + "一班.conf"));
    EXPECT_EQ(FilePath(std::string("x") + kPathSeparator) / "Data",
              FilePath(std::string("x") + kPathSeparator + "Data"));
}

TEST(Locations, BesideTheRunningExecutable) {
#ifdef _WIN32
    const auto exe = toFsPath(platform::executablePath());
#else
    const auto exe = std::filesystem::canonical("/proc/self/exe");
#endif
    EXPECT_EQ(runDirectory(), TestPath(exe.parent_path()));
}

} // namespace
} // namespace tallyra
