// The first-run step on the settings file.
#include "storage/settings.h"

#include "data_folder.h"
#include "storage/ini_file.h"

namespace tallyra {
namespace {

using testing::readBytes;
using testing::writeBytes;

class FirstRunTest : public testing::DataFolderTest {
protected:
    FirstRunTest() { createDataFolder_ = false; }
    testing::RecordingBoxes boxes_;
};

TEST_F(FirstRunTest, FreshFolderGetsTheFileInOrderAndOneNotice) {
    ASSERT_FALSE(std::filesystem::exists(data()));
    checkFirstRun(boxes_);
    EXPECT_TRUE(std::filesystem::is_directory(data()));
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(
        boxes_.shown[0],
        (Message{"首次运行", "您可能是首次使用，在使用此软件之前，建议您先添加班级！请在设置中选择班级管理添加班级！",
                 0x40}));

    checkFirstRun(boxes_); // the second start
    EXPECT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(readBytes(config()), "[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=\r\n");
}

TEST_F(FirstRunTest, AnyMarkerButExactlyFalseRunsTheStepAgainAndKeepsDefault) {
    std::filesystem::create_directory(data());
    for (const char* marker : {"false", "FALSE", "True", "", " "}) {
        SCOPED_TRACE(marker);
        boxes_.shown.clear();
        writeBytes(config(), std::string("[Settings]\r\nFirst=") + marker +
                                 "\r\nVoice=True\r\n[Class]\r\nClassName=一班,二班\r\nDefault=二班\r\n");
        writeBytes(data("二班.conf"), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
        checkFirstRun(boxes_);
        EXPECT_EQ(boxes_.shown.size(), 1u);
        EXPECT_EQ(readIniItem(config(), "Settings", "First"), "False");
        EXPECT_EQ(readIniItem(config(), "Settings", "Voice"), "False");
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), "");
        EXPECT_EQ(readIniItem(config(), "Class", "Default"), "二班");
        EXPECT_EQ(readBytes(data("二班.conf")), "[ClassData]\r\nNumber=1\r\nName=A\r\n");
    }
}

TEST_F(FirstRunTest, AFolderThatCannotBeCreatedStillEndsWithTheNotice) {
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
        boxes_.shown.clear();
        EXPECT_NO_THROW(checkFirstRun(boxes_));
        EXPECT_EQ(boxes_.shown.size(), 1u);
        EXPECT_NO_THROW(checkFirstRun(boxes_)); // nothing could be written, so the next start asks again
        EXPECT_EQ(boxes_.shown.size(), 2u);
    }
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
