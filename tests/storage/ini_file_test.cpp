// Item-wise INI access on real files: encoding at the file boundary, the read
// limit, refused writes, files from other programs, crash safety and two
// processes writing the same file.
#include "storage/ini_file.h"
#include "storage/text_encoding.h"
#include "storage/platform/file_system.h"

#include "data_folder.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tallyra {
namespace {

using testing::readBytes;
using testing::writeBytes;

class IniFileTest : public testing::DataFolderTest {};

TEST_F(IniFileTest, MissingFileFolderSectionOrKeyReadsEmpty) {
    EXPECT_EQ(readIniItem(TestPath(root_ / "Nowhere" / "Config.conf"), "Class", "Default"), "");
    EXPECT_EQ(readIniItem(config(), "Class", "Default"), "");
    writeBytes(config(), "[Class]\r\nClassName=A\r\n");
    EXPECT_EQ(readIniItem(config(), "Class", "Default"), "");
    EXPECT_EQ(readIniItem(config(), "Settings", "ClassName"), "");
}

TEST_F(IniFileTest, LeadingControlBytesOfPathSectionAndKeyAreSkipped) {
    writeBytes(config(), "[Class]\r\nDefault=A\r\n[]\r\nk=v\r\n");
    const std::string spaced = " \t\x01" + toFilePath(config()).utf8();
    struct Case {
        std::string path;
        std::string_view section;
        std::string_view key;
        std::string_view value;
    } const cases[] = {
        {toFilePath(config()).utf8(), "Class", "Default", "A"},
        {spaced, "Class", "Default", "A"},
        {toFilePath(config()).utf8(), "\x01\x1F Class", "\t\r\nDefault", "A"},
        // Nothing left after the skip: empty, even though the file has an empty section.
        {toFilePath(config()).utf8(), " \t", "k", ""},
        {toFilePath(config()).utf8(), "", "k", ""},
        {toFilePath(config()).utf8(), "Class", " ", ""},
        {" \t", "Class", "Default", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.path) + " " + ::testing::PrintToString(c.section) + " " +
                     ::testing::PrintToString(c.key));
        EXPECT_EQ(readIniItem(FilePath(c.path), c.section, c.key), c.value);
    }
}

TEST_F(IniFileTest, ReadsAreCutAtTheLimitNeverInsideACharacter) {
    const std::string ascii(kIniValueLimit, 'a');
    struct Case {
        const char* name;
        std::string fileValue;
        std::string read;
    } const cases[] = {
        {"exactly the limit", ascii, ascii},
        {"one byte over", ascii + "b", ascii},
        {"a Chinese character ending at the limit", ascii.substr(2) + "\xD5\xC5", ascii.substr(2) + "张"},
        {"a Chinese character across the limit", ascii.substr(1) + "\xD5\xC5", ascii.substr(1)},
        {"a four-byte character across the limit", ascii.substr(3) + "\x95\x32\x82\x36", ascii.substr(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(config(), "[Class]\r\nClassName=" + c.fileValue + "\r\n");
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), c.read);
    }
}

TEST_F(IniFileTest, ValuesThatWouldNotReadBackWholeAreRefusedBeforeWriting) {
    const std::string chinese5119 = [] {
        std::string s;
        for (int i = 0; i < 5119; ++i)
            s += "张";
        return s;
    }();
    struct Case {
        const char* name;
        std::string value;
        bool accepted;
    } const cases[] = {
        {"10,239 ASCII bytes", std::string(kIniValueLimit, 'a'), true},
        {"10,240 ASCII bytes", std::string(kIniValueLimit + 1, 'a'), false},
        {"5,119 Chinese characters and one ASCII byte: 10,239 file bytes", chinese5119 + "a", true},
        {"5,120 Chinese characters: 10,240 file bytes", chinese5119 + "张", false},
        {"a line break", "A\r\nDefault=B", false},
        {"a lone LF", "A\nB", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(config(), "[Class]\r\nClassName=old\r\n");
        EXPECT_EQ(fitsIniValue(c.value), c.accepted);
        EXPECT_EQ(writeIniItem(config(), "Class", "ClassName", c.value), c.accepted);
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), c.accepted ? c.value : "old");
        if (!c.accepted) {
            EXPECT_EQ(readBytes(config()), "[Class]\r\nClassName=old\r\n");
        }
    }
}

TEST_F(IniFileTest, WritingNeedsTheFolderAndDoesNotCreateIt) {
    EXPECT_FALSE(writeIniItem(TestPath(root_ / "Missing" / "Config.conf"), "Settings", "First", "False"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "Missing"));
}

// A rename that fails (here over a folder of the same name) leaves no temporary file behind.
TEST_F(IniFileTest, AFailedRenameLeavesNothingBehind) {
    std::filesystem::create_directories(data("一班.conf") / "inside");
    EXPECT_FALSE(platform::replaceFileAtomically(data("一班.conf"), "[ClassData]\r\n"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(data()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"一班.conf"});
}

TEST_F(IniFileTest, AnUnusableDataFolderFailsQuietly) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need privileges on Windows";
#endif
    std::filesystem::remove(data());
    std::filesystem::create_directory_symlink("Data", data()); // a link to itself
    EXPECT_NO_THROW(EXPECT_FALSE(writeIniItem(config(), "Settings", "First", "False")));
    EXPECT_EQ(readIniItem(config(), "Settings", "First"), "");
}

TEST_F(IniFileTest, GbkFileFromAnotherProgramReadsAndKeepsItsOtherBytes) {
    const std::string original = "; \xD7\xA2\xCA\xCD\r\n" // ; 注释
                                 "[Class]\r\n"
                                 "ClassName=\xD2\xBB\xB0\xE0,\xB6\xFE\xB0\xE0\r\n" // 一班,二班
                                 "Default=\xB6\xFE\xB0\xE0\r\n";                   // 二班
    writeBytes(config(), original);
    EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), "一班,二班");
    EXPECT_EQ(readIniItem(config(), "Class", "Default"), "二班");

    ASSERT_TRUE(writeIniItem(config(), "Class", "Default", "一班"));
    EXPECT_EQ(readBytes(config()), "; \xD7\xA2\xCA\xCD\r\n[Class]\r\nClassName=\xD2\xBB\xB0\xE0,\xB6\xFE\xB0\xE0\r\n"
                                   "Default=\xD2\xBB\xB0\xE0\r\n");
}

TEST_F(IniFileTest, RareCharactersOutsideGbkAreStoredAndReadBackIntact) {
    if (!storesAsItself("𠀀")) GTEST_SKIP() << "this system converts GBK only";
    const std::string names = "𠀀一,䶮二,王𠀀";
    ASSERT_TRUE(writeIniItem(config(), "ClassData", "Name", names));
    EXPECT_EQ(readIniItem(config(), "ClassData", "Name"), names);
    EXPECT_EQ(readBytes(config()),
              "[ClassData]\r\nName=\x95\x32\x82\x36\xD2\xBB,\xFE\x9F\xB6\xFE,\xCD\xF5\x95\x32\x82\x36\r\n");
}

TEST_F(IniFileTest, FileResavedAsUtf8ReadsAndIsWrittenBackWholeInGbk) {
    const std::string_view bom = "\xEF\xBB\xBF";
    for (bool withBom : {true, false}) {
        SCOPED_TRACE(withBom ? "with byte-order mark" : "without byte-order mark");
        writeBytes(config(), std::string(withBom ? bom : "") + "[Class]\r\nClassName=一班,二班\r\nDefault=二班\r\n");
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), "一班,二班");
        EXPECT_EQ(readIniItem(config(), "Class", "Default"), "二班");

        ASSERT_TRUE(writeIniItem(config(), "Settings", "Voice", "True"));
        EXPECT_EQ(readBytes(config()), "[Class]\r\nClassName=\xD2\xBB\xB0\xE0,\xB6\xFE\xB0\xE0\r\n"
                                       "Default=\xB6\xFE\xB0\xE0\r\n[Settings]\r\nVoice=True\r\n");
    }
}

// The child process stops dead between writing the temporary file and renaming it.
// fork() lets a child die at the worst moment, or race a second writer, for real.
#ifndef _WIN32
TEST_F(IniFileTest, AWriteInterruptedBeforeTheReplaceLeavesTheOldFile) {
    const std::string original = "[Class]\r\nClassName=\xD2\xBB\xB0\xE0\r\nDefault=\xD2\xBB\xB0\xE0\r\n";
    writeBytes(config(), original);
    for (const char* fileName : {"Config.conf", "New.conf"}) {
        SCOPED_TRACE(fileName);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::setBeforeReplaceHook([] { ::_exit(42); });
            (void)writeIniItem(TestPath(data() / fileName), "Class", "ClassName", "一班,二班");
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 42) << "the hook did not run";
    }
    EXPECT_EQ(readBytes(config()), original);
    EXPECT_FALSE(std::filesystem::exists(data("New.conf")));

    // The program goes on from the old file.
    ASSERT_TRUE(writeIniItem(config(), "Class", "ClassName", "一班,二班"));
    EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), "一班,二班");
    EXPECT_EQ(readIniItem(config(), "Class", "Default"), "一班");
}

TEST_F(IniFileTest, TwoProcessesWritingDifferentKeysLoseNeither) {
    constexpr int kKeys = 10;
    constexpr int kRounds = 15;
    std::vector<pid_t> children;
    for (const char* prefix : {"A", "B"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int round = 0; round < kRounds; ++round)
                for (int k = 0; k < kKeys; ++k)
                    ok = writeIniItem(config(), prefix[0] == 'A' ? "Class" : "Settings", prefix + std::to_string(k),
                                      "名" + std::to_string(round)) &&
                         ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string last = "名" + std::to_string(kRounds - 1);
    for (int k = 0; k < kKeys; ++k) {
        EXPECT_EQ(readIniItem(config(), "Class", "A" + std::to_string(k)), last);
        EXPECT_EQ(readIniItem(config(), "Settings", "B" + std::to_string(k)), last);
    }
}
#endif

} // namespace
} // namespace tallyra
