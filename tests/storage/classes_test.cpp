// The class operations when the files or the windows are not what they seem: a
// file that cannot be read, a damaged or over-long list, a window out of date
// after another copy's work, a delete that fails. Each is refused or stopped with
// a message, and nothing stored is changed or lost.
#include "storage/classes.h"

#include "data_folder.h"
#include "storage/class_list.h"
#include "storage/platform/file_system.h"
#include "storage/settings.h"

#include <functional>
#include <map>

namespace tallyra {
namespace {

using classes::Outcome;
using testing::readBytes;
using testing::writeBytes;

class ClassesTest : public testing::DataFolderTest {
protected:
    void TearDown() override {
        platform::setReadFailureHook({});
        platform::setDeleteFailureHook({});
        DataFolderTest::TearDown();
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(data()))
            all[entry.path().filename().string()] = readBytes(entry.path());
        return all;
    }
};

const std::string kConfig = "[Settings]\r\nFirst=False\r\n[Class]\r\nClassName=一班,二班\r\nDefault=一班\r\n";
const std::string kRoster = "[ClassData]\r\nNumber=1,2\r\nName=甲,乙\r\n";
const ClassRoster kShown{{"1", "2"}, {"甲", "乙"}};

TEST_F(ClassesTest, RefusalsAndFailuresWriteNothing) {
    const std::string longList = "ClassName=一班," + std::string(10300, 'x') + "\r\n";
    const std::string nulName = std::string("一班.conf") + '\0' + "x"; // its path would be cut to 一班.conf
    const struct {
        const char* what;
        std::string config;
        std::function<bool(const FilePath&)> failRead; // reads of this file fail
        std::function<classes::Result(const DataFolder&)> run;
        Outcome outcome;
        std::string_view title;
        std::string secondRoster = kRoster; // 二班.conf
    } kCases[] = {
        {"add while Config.conf cannot be read", kConfig,
         [](const FilePath& f) { return f.utf8().ends_with("Config.conf"); },
         [](const DataFolder& d) { return classes::addClass(d, "三班", false); }, Outcome::Failed, "读取失败"},
        {"add over a roster file that cannot be read", kConfig,
         [](const FilePath& f) { return f.utf8().ends_with("三班.conf"); },
         [](const DataFolder& d) { return classes::addClass(d, "三班", false); }, Outcome::Failed, "读取失败"},
        {"save a roster that cannot be read", kConfig,
         [](const FilePath& f) { return f.utf8().ends_with("一班.conf"); },
         [](const DataFolder& d) {
             return classes::saveClass(d, {0, "一班"}, "一班", "1\t丙\r\n", kShown);
         },
         Outcome::Failed, "读取失败"},
        {"delete from a list longer than a read", "[Class]\r\n" + longList, nullptr,
         [](const DataFolder& d) {
             return classes::deleteClass(d, {0, "一班"});
         },
         Outcome::Refused, "数据过长"},
        {"save a roster whose stored names are longer than a read", kConfig, nullptr,
         [](const DataFolder& d) {
             return classes::saveClass(d, {1, "二班"}, "二班", "1\t丙\r\n", {{"1"}, {std::string(10239, 'y')}});
         },
         Outcome::Refused, "数据过长", "[ClassData]\r\nNumber=1\r\nName=" + std::string(10300, 'y') + "\r\n"},
        {"save a listed name holding a NUL", "[Class]\r\nClassName=一班," + nulName + "\r\n", nullptr,
         [&](const DataFolder& d) {
             return classes::saveClass(d, {1, nulName}, nulName, "1\t丙\r\n", {});
         },
         Outcome::Refused, kClassNameInvalid.title},
        {"delete a class another copy renamed to a case variant", "[Class]\r\nClassName=a班\r\n", nullptr,
         [](const DataFolder& d) {
             return classes::deleteClass(d, {0, "A班"});
         },
         Outcome::ClassGone, kClassGone.title},
        {"save under a new name a class another copy deleted", "[Class]\r\nClassName=二班\r\n", nullptr,
         [](const DataFolder& d) {
             return classes::saveClass(d, {0, "一班"}, "三班", "1\t丙\r\n", kShown);
         },
         Outcome::ClassGone, kClassGone.title},
        {"add while the lock's name is a folder", kConfig, nullptr,
         [](const DataFolder& d) {
             platform::makeFolder(d.path() / platform::kFolderLockName);
             classes::Result result = classes::addClass(d, "三班", false);
             std::filesystem::remove(pathFromUtf8(d.path().utf8()) / platform::kFolderLockName);
             return result;
         },
         Outcome::Failed, "保存失败"},
        {"save over a roster another copy changed", kConfig, nullptr,
         [](const DataFolder& d) {
             return classes::saveClass(d, {0, "一班"}, "一班", "1\t丙\r\n", {{"1"}, {"甲"}});
         },
         Outcome::RosterChanged, kRosterChanged.title},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(data());
        std::filesystem::create_directory(data());
        writeBytes(config(), c.config);
        writeBytes(data("一班.conf"), kRoster);
        writeBytes(data("a班.conf"), kRoster);
        writeBytes(data("二班.conf"), c.secondRoster);
        const DataFolder folder = dataFolder();
        platform::setReadFailureHook(c.failRead);
        const auto before = files();
        const classes::Result result = c.run(folder);
        platform::setReadFailureHook({});
        EXPECT_EQ(static_cast<int>(result.outcome), static_cast<int>(c.outcome));
        ASSERT_TRUE(result.message.has_value());
        EXPECT_EQ(result.message->title, c.title);
        EXPECT_EQ(files(), before);
    }
}

TEST_F(ClassesTest, AStartOnAnUnreadableSettingsFileNeitherResetsNorWritesIt) {
    writeBytes(config(), kConfig);
    platform::setReadFailureHook([](const FilePath&) { return true; });
    EXPECT_EQ(settings::prepareFirstRun(dataFolder()), settings::FirstRun::ReadFailed);
    EXPECT_FALSE(settings::setVoiceOn(dataFolder(), true));
    platform::setReadFailureHook({});
    EXPECT_EQ(readBytes(config()), kConfig);
}

TEST_F(ClassesTest, AFailedFileDeleteUnlistsTheClassAndSaysTheFileStayed) {
    writeBytes(config(), kConfig);
    writeBytes(data("二班.conf"), kRoster);
    platform::setDeleteFailureHook([](const FilePath&) { return true; });
    const classes::Result result = classes::deleteClass(dataFolder(), {1, "二班"});
    EXPECT_TRUE(result.done());
    ASSERT_TRUE(result.message.has_value());
    EXPECT_EQ(*result.message, kRosterFileNotDeleted);
    EXPECT_EQ(settings::classList(dataFolder()), "一班");
    EXPECT_EQ(readBytes(data("二班.conf")), kRoster); // adding 二班 again adopts it
}

} // namespace
} // namespace tallyra
