// The first-run step on the settings file.
#include "storage/settings.h"

#include "data_folder.h"
#include "storage/ini_file.h"

#include <algorithm>
#include <thread>

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
    EXPECT_EQ(prepareFirstRun(), FirstRun::Prepared);
    EXPECT_TRUE(std::filesystem::is_directory(data()));
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");

    EXPECT_EQ(prepareFirstRun(), FirstRun::NotFirst); // the second start
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");
}

TEST_F(FirstRunTest, AnyMarkerButExactlyFalseRunsTheStepAgainAndKeepsDefault) {
    std::filesystem::create_directory(data());
    for (const char* marker : {"false", "FALSE", "True", "", " "}) {
        SCOPED_TRACE(marker);
        writeBytes(config(), std::string("[Settings]\r\nFirst=") + marker +
                                 "\r\nVoice=True\r\n[Class]\r\nClassName=一班,二班\r\nDefault=二班\r\n");
        writeBytes(data("二班.conf"), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
        EXPECT_EQ(prepareFirstRun(), FirstRun::Prepared);
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
        EXPECT_EQ(prepareFirstRun(), FirstRun::WriteFailed);
        EXPECT_EQ(prepareFirstRun(), FirstRun::WriteFailed); // nothing could be written: the next start tries again
    }
}

// Two copies of the program changing the class list at the same moment: each
// change is one read-change-write under the lock, so neither is lost.
TEST_F(FirstRunTest, ClassListChangesOfTwoThreadsAreNeverLost) {
    std::filesystem::create_directory(data());
    ASSERT_EQ(prepareFirstRun(), FirstRun::Prepared);
    const auto addMany = [](const std::string& prefix) {
        for (int i = 0; i < 50; ++i) {
            const std::string name = prefix + std::to_string(i);
            ASSERT_TRUE(settings::changeClassList(
                [&](std::string_view list) { return list.empty() ? name : std::string(list) + "," + name; }));
        }
    };
    std::thread first(addMany, "甲"), second(addMany, "乙");
    first.join();
    second.join();
    const std::string list = settings::classList();
    EXPECT_EQ(std::count(list.begin(), list.end(), ','), 99);
    EXPECT_TRUE(settings::changeClassList([](std::string_view) { return std::nullopt; }));
    EXPECT_EQ(settings::classList(), list) << "a declined change writes nothing";
}

TEST(Locations, BesideTheRunningExecutable) {
    overrideRunDirectory({});
#ifdef _WIN32
    const auto exe = platform::executablePath();
#else
    const auto exe = std::filesystem::canonical("/proc/self/exe");
#endif
    EXPECT_EQ(runDirectory(), exe.parent_path());
    EXPECT_EQ(dataFolderPath(), exe.parent_path() / "Data");
    EXPECT_EQ(settingsFilePath(), exe.parent_path() / "Data" / "Config.conf");
}

} // namespace
} // namespace tallyra
