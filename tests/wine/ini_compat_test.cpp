// Our INI reader and writer against the platform's own private-profile functions,
// run under Wine with the ANSI code page 936 (LANG=zh_CN.UTF-8): what we write,
// GetPrivateProfileStringA reads byte for byte; what WritePrivateProfileStringA
// writes, we read. Settings and roster files written by older copies of the
// program, or read by other tools, depend on both directions.
#include "storage/ini_file.h"
#include "storage/paths.h"
#include "tests/support/file_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {
namespace {

struct Item {
    const char* section; // UTF-8
    const char* key;     // UTF-8
    const char* value;   // UTF-8
    std::string gbkSection;
    std::string gbkKey;
    std::string gbkValue; // the same texts as GBK bytes, written out here and not by our converter
};

// What the program keeps in its files (ASCII names, Chinese values), plus what a
// hand-edited file may hold: Chinese names, traditional characters whose second
// byte is an ASCII letter (許 is D4 53, "S"), blanks, "=" and ";" inside a value.
const std::vector<Item> kItems = {
    {"Settings", "First", "False", "Settings", "First", "False"},
    {"Settings", "Voice", "True", "Settings", "Voice", "True"},
    {"Class", "ClassName", "一班,二班,三年级(2)班", "Class", "ClassName",
     "\xD2\xBB\xB0\xE0,\xB6\xFE\xB0\xE0,\xC8\xFD\xC4\xEA\xBC\xB6(2)\xB0\xE0"},
    {"Class", "Default", "二班", "Class", "Default", "\xB6\xFE\xB0\xE0"},
    {"ClassData", "Number", "001,002,007", "ClassData", "Number", "001,002,007"},
    {"ClassData", "Name", "张三,李四,許功蓋", "ClassData", "Name",
     "\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4,\xD4S\xB9\xA6\xC9w"},
    {"ClassData", "Empty", "", "ClassData", "Empty", ""},
    {"中文节", "中文键", "值 有空格", "\xD6\xD0\xCE\xC4\xBD\xDA", "\xD6\xD0\xCE\xC4\xBC\xFC",
     "\xD6\xB5 \xD3\xD0\xBF\xD5\xB8\xF1"},
    {"中文节", "學號", "a=b;c", "\xD6\xD0\xCE\xC4\xBD\xDA", "\x8CW\xCC\x96", "a=b;c"},
};

constexpr DWORD kBufferSize = 10240; // the buffer the program's files have always been read with

std::string ansiPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &lossy);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(), size,
                        nullptr, &lossy);
    EXPECT_FALSE(lossy) << "path not representable in the ANSI code page";
    return ansi;
}

std::string platformRead(const std::filesystem::path& file, const std::string& section, const std::string& key) {
    std::string buffer(kBufferSize, '\0');
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), kBufferSize, ansiPath(file).c_str());
    buffer.resize(length);
    return buffer;
}

bool platformWrite(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ansiPath(file).c_str()) != 0;
}

class IniCompatibility : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        // The GBK bytes above are what the A functions take and give only when
        // the ANSI code page is 936.
        ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8";
        folder_ = std::filesystem::temp_directory_path() /
                  ("tallyra-ini-compat-" + std::to_string(GetCurrentProcessId())) / pathFromUtf8(GetParam());
        std::filesystem::remove_all(folder_);
        ASSERT_TRUE(std::filesystem::create_directories(folder_));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_.parent_path(), ignored);
    }

    std::filesystem::path folder_;
};

// A plain folder, and one whose name the A functions get as GBK bytes.
INSTANTIATE_TEST_SUITE_P(Folders, IniCompatibility, ::testing::Values("Data", "数据"),
                         [](const auto& info) { return info.index == 0 ? "Ascii" : "Chinese"; });

TEST_P(IniCompatibility, PlatformReadsWhatWeWrite) {
    // The file name holds 級 (BC 89), a GBK character outside GB2312.
    const TestPath file = folder_ / pathFromUtf8("三年級(2)班.conf");
    for (const Item& item : kItems) {
        ASSERT_TRUE(writeIniItem(file, item.section, item.key, item.value)) << item.key;
    }

    for (const Item& item : kItems) {
        EXPECT_EQ(platformRead(file, item.gbkSection, item.gbkKey), item.gbkValue) << item.key;
    }
    // Names match without regard to case, on the platform's side too.
    EXPECT_EQ(platformRead(file, "SETTINGS", "voice"), "True");
}

TEST_P(IniCompatibility, WeReadWhatPlatformWrites) {
    const TestPath file = folder_ / pathFromUtf8("三年級(2)班.conf");
    for (const Item& item : kItems) {
        ASSERT_TRUE(platformWrite(file, item.gbkSection, item.gbkKey, item.gbkValue)) << item.key;
    }

    for (const Item& item : kItems) {
        EXPECT_EQ(readIniItem(file, item.section, item.key), item.value) << item.key;
    }
    EXPECT_EQ(readIniItem(file, "settings", "VOICE"), "True");
    EXPECT_EQ(readIniItem(file, "Settings", "Missing"), "");
}

TEST_P(IniCompatibility, OurChangesToPlatformFileStayReadable) {
    // A settings file an older copy of the program wrote, then changed by us:
    // values replaced in place, a key added to a section, a new section.
    const TestPath file = folder_ / "Config.conf";
    ASSERT_TRUE(platformWrite(file, "Settings", "First", "False"));
    ASSERT_TRUE(platformWrite(file, "Settings", "Voice", "False"));
    ASSERT_TRUE(platformWrite(file, "Class", "ClassName", "\xB6\xFE\xB0\xE0"));

    ASSERT_TRUE(writeIniItem(file, "Settings", "Voice", "True"));
    ASSERT_TRUE(writeIniItem(file, "Class", "ClassName", "二班,三年級(2)班"));
    ASSERT_TRUE(writeIniItem(file, "Class", "Default", "三年級(2)班"));
    ASSERT_TRUE(writeIniItem(file, "ClassData", "Name", "许志明"));

    EXPECT_EQ(platformRead(file, "Settings", "First"), "False");
    EXPECT_EQ(platformRead(file, "Settings", "Voice"), "True");
    EXPECT_EQ(platformRead(file, "Class", "ClassName"), "\xB6\xFE\xB0\xE0,\xC8\xFD\xC4\xEA\xBC\x89(2)\xB0\xE0");
    EXPECT_EQ(platformRead(file, "Class", "Default"), "\xC8\xFD\xC4\xEA\xBC\x89(2)\xB0\xE0");
    EXPECT_EQ(platformRead(file, "ClassData", "Name"), "\xD0\xED\xD6\xBE\xC3\xF7");

    // And the platform's later changes stay readable for us.
    ASSERT_TRUE(platformWrite(file, "Class", "Default", "\xB6\xFE\xB0\xE0"));
    EXPECT_EQ(readIniItem(file, "Class", "Default"), "二班");
    EXPECT_EQ(readIniItem(file, "Class", "ClassName"), "二班,三年級(2)班");
    EXPECT_EQ(readIniItem(file, "ClassData", "Name"), "许志明");
}

// Hand-edited files: quotes around values and a section name given twice read the
// same through both; values that start and end with a quote, which we write, the
// platform reads back as given; and its new key lands where ours would.
TEST_P(IniCompatibility, QuotesAndRepeatedSectionsAsThePlatformReadsThem) {
    const TestPath file = folder_ / "Edited.conf";
    {
        std::ofstream out(static_cast<const std::filesystem::path&>(file), std::ios::binary);
        out << "[S]\r\nq= \" a \" \r\ns='b'\r\nd=\"\"c\"\"\r\nm=\"d'\r\nl=\"\r\nk=1\r\n"
               "[X]\r\nk=x\r\n[s]\r\nk=2\r\nlater=3\r\n";
    }
    for (const char* key : {"q", "s", "d", "m", "l", "k", "later"})
        EXPECT_EQ(readIniItem(file, "S", key), platformRead(file, "S", key)) << key;

    for (const char* value : {"\"a\"", "'b'", "\"\"", "\"d'"}) {
        ASSERT_TRUE(writeIniItem(file, "S", "w", value));
        EXPECT_EQ(platformRead(file, "S", "w"), value);
        EXPECT_EQ(readIniItem(file, "S", "w"), value);
    }
    ASSERT_TRUE(platformWrite(file, "S", "later", "4"));
    EXPECT_EQ(readIniItem(file, "S", "later"), "4");
    EXPECT_EQ(platformRead(file, "S", "later"), "4");
}

std::string repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST_P(IniCompatibility, LongValuesAtTheReadLimit) {
    const TestPath file = folder_ / "Long.conf";
    // The longest value we write (10,239 bytes in GBK) is read whole by the platform's 10,240-byte buffer.
    ASSERT_TRUE(writeIniItem(file, "ClassData", "Name", repeat("中", 5119) + "a"));
    const std::string read = platformRead(file, "ClassData", "Name");
    EXPECT_EQ(read.size(), 10239u);
    EXPECT_TRUE(read == repeat("\xD6\xD0", 5119) + "a");

    // A longer value the platform wrote is cut to 10,239 bytes, never inside a character.
    ASSERT_TRUE(platformWrite(file, "ClassData", "Number", repeat("\xD6\xD0", 6000)));
    const std::string cut = readIniItem(file, "ClassData", "Number");
    EXPECT_EQ(cut.size(), 5119u * 3);
    EXPECT_TRUE(cut == repeat("中", 5119));
}

} // namespace
} // namespace tallyra
