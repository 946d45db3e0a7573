// The file encoding: GBK bytes from other programs read as the right text, rare
// characters outside GBK survive, byte lengths and cuts respect whole characters,
// and files re-saved as UTF-8 are recognised without mistaking GBK for UTF-8.
#include "storage/text_encoding.h"

#include "storage/class_list.h"
#include "storage/ini_file.h"
#include "storage/roster.h"
#include "tests/storage/data_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace tallyra {
namespace {

struct EncodingCase {
    const char* utf8;
    const char* fileBytes; // as GBK/GB18030 tools write them
    bool outsideGbk = false;
};

const EncodingCase kEncodingCases[] = {
    {"07", "07"},
    {"张三", "\xD5\xC5\xC8\xFD"},
    {"高一班,二班", "\xB8\xDF\xD2\xBB\xB0\xE0,\xB6\xFE\xB0\xE0"},
    {"李四 Li", "\xC0\xEE\xCB\xC4 Li"},
    {"䶮", "\xFE\x9F", true},         // two bytes, but only since GB18030
    {"𠀀", "\x95\x32\x82\x36", true}, // outside GBK: a four-byte GB18030 character
    {"王𠀀五", "\xCD\xF5\x95\x32\x82\x36\xCE\xE5", true},
};

TEST(TextEncoding, FileBytesAndTextCorrespondBothWays) {
    for (const auto& c : kEncodingCases) {
        SCOPED_TRACE(c.utf8);
        if (c.outsideGbk && !storesAsItself(c.utf8)) continue; // Wine: GBK only
        EXPECT_EQ(encodeForFile(c.utf8), c.fileBytes);
        EXPECT_EQ(decodeFromFile(c.fileBytes), c.utf8);
        EXPECT_EQ(fileByteLength(c.utf8), std::string_view(c.fileBytes).size());
    }
}

TEST(TextEncoding, BrokenBytesAreReplacedNotDropped) {
    const std::string cutLead = decodeFromFile("A\xD5"); // a lead byte cut off at the end
    EXPECT_TRUE(cutLead == "A\xEF\xBF\xBD" || cutLead == "A?") << cutLead;
    const std::string cutSequence = encodeForFile("A\xE5\xBC"); // a cut UTF-8 sequence: "?" per byte, or for the whole
    EXPECT_TRUE(cutSequence == "A??" || cutSequence == "A?") << cutSequence;
    EXPECT_EQ(decodeFromFile(encodeForFile("张三\xFF")), "张三?");
}

TEST(TextEncoding, CutNeverSplitsACharacter) {
    struct Case {
        std::string_view bytes;
        std::size_t limit;
        std::string_view kept;
    } const cases[] = {
        {"abc", 5, "abc"},
        {"abc", 2, "ab"},
        {"a\xD5\xC5", 3, "a\xD5\xC5"},
        {"a\xD5\xC5", 2, "a"},
        {"\xD5\xC5\xC8\xFD", 3, "\xD5\xC5"},
        {"a\x95\x32\x82\x36", 4, "a"},
        {"a\x95\x32\x82\x36", 5, "a\x95\x32\x82\x36"},
        {"a\x81\x39\xEE\x39", 4, "a"}, // 㐀: a four-byte character whose second byte is the last digit
        {"\xD5"
         "b",
         1, ""}, // a lead byte takes the next byte with it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes) + " limit " + std::to_string(c.limit));
        EXPECT_EQ(cutFileBytes(c.bytes, c.limit), c.kept);
    }
}

TEST(TextEncoding, FilesResavedAsUtf8AreRecognised) {
    struct Case {
        const char* name;
        std::string_view raw;
        std::string_view normalised;
    } const cases[] = {
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBFName=张三", "Name=\xD5\xC5\xC8\xFD"},
        {"UTF-8 with byte-order mark, ASCII only", "\xEF\xBB\xBF[Class]", "[Class]"},
        {"UTF-8 without byte-order mark", "Name=张三,李四", "Name=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4"},
        {"GBK", "Name=\xD5\xC5\xC8\xFD", "Name=\xD5\xC5\xC8\xFD"},
        {"ASCII", "[Settings]\r\nFirst=False\r\n", "[Settings]\r\nFirst=False\r\n"},
        // GBK bytes that happen to form two-byte UTF-8 sequences (一 is D2 BB, U+04BB
        // in UTF-8); Chinese text saved as UTF-8 always has three-byte sequences.
        {"GBK that looks like two-byte UTF-8", "ClassName=\xD2\xBB\r\nDefault=\xD2\xBB\r\n",
         "ClassName=\xD2\xBB\r\nDefault=\xD2\xBB\r\n"},
        // Genuine GBK names whose bytes happen to be valid UTF-8 with long sequences.
        {"GBK 郑皓博", "Name=\xD6\xA3\xF0\xA9\xB2\xA9", "Name=\xD6\xA3\xF0\xA9\xB2\xA9"},
        {"GBK 瑜班长", "ClassName=\xE8\xA4\xB0\xE0\xB3\xA4", "ClassName=\xE8\xA4\xB0\xE0\xB3\xA4"},
        {"GBK 稹安", "ClassName=\xF0\xA1\xB0\xB2", "ClassName=\xF0\xA1\xB0\xB2"},
        // Rare characters in both readings: a tie stays GBK, the program's own encoding.
        {"a tie", "Name=①", "Name=①"},
        // A short UTF-8 name whose GBK reading is made of GBK characters too.
        {"UTF-8 严军", "Name=严军", "Name=\xD1\xCF\xBE\xFC"},
        // Notepad's "Unicode": UTF-16 little-endian with a byte-order mark.
        {"UTF-16 LE", std::string_view("\xFF\xFEN\0=\0\x20\x5F\x09\x4E", 10), "N=\xD5\xC5\xC8\xFD"},
        {"UTF-16 BE", std::string_view("\xFE\xFF\0N\0=\x5F\x20\x4E\x09", 10), "N=\xD5\xC5\xC8\xFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(normaliseFileBytes(c.raw), c.normalised);
    }
}

// A write never stores a character as another: the refusal names the first one
// that would not read back, before anything is written. Which characters those
// are depends on the converter (GBK only under Wine, no private-use gaps on Windows).
class UnstorableTextTest : public testing::DataFolderTest {};

TEST_F(UnstorableTextTest, EachCharacterIsStoredAsItselfOrRefusedByName) {
#ifndef _WIN32
    EXPECT_EQ(unstorableCharacter("小明\uE78D"), "\uE78D"); // one of iconv's 24 private-use gaps
#endif
    for (const std::string c : {"张", "😀", "𠮷", "\uE78D", "\uE000", "䶮", "\xFF"}) {
        SCOPED_TRACE(c);
        const std::string text = "小明" + c + "五";
        const std::string expected = c == "\xFF" ? "\uFFFD" : c;
        const bool readsBack = decodeFromFile(encodeForFile(text)) == text;
        EXPECT_EQ(unstorableCharacter(text), readsBack ? std::nullopt : std::optional(expected));
        EXPECT_EQ(checkClassName(c + "班"), readsBack ? std::nullopt : std::optional(classNameUnstorable(expected)));
        EXPECT_EQ(parseRosterText("1\t张三\r\n2\t" + text).refusal,
                  readsBack ? std::nullopt : std::optional(rosterTextUnstorable(expected)));
        testing::writeBytes(config(), "[Class]\r\nClassName=一班\r\n");
        EXPECT_EQ(writeIniItem(config(), "Class", "ClassName", text), readsBack);
        EXPECT_EQ(readIniItem(config(), "Class", "ClassName"), readsBack ? text : "一班");
    }
}

// Names as teachers type them: common Chinese names saved as UTF-8 stay UTF-8, and
// random GBK files of common-set characters stay GBK.
TEST(TextEncoding, CommonNamesAreNeverMisread) {
    const std::string surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱",
                                    "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯",
                                    "邓", "曹", "彭", "曾", "肖", "田", "董", "袁", "潘", "于", "蒋", "蔡"};
    const std::string given[] = {"伟", "芳", "娜", "秀", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰",
                                 "娟", "涛", "明", "超", "霞", "平", "刚", "桂", "英", "华", "玉", "兰", "萍", "红",
                                 "鹏", "辉", "浩", "宇", "轩", "子", "涵", "欣", "怡", "梓", "博", "文"};
    std::mt19937 random(20261207);
    int checked = 0;
    for (int i = 0; i < 400; ++i) {
        std::string name = surnames[random() % 40] + given[random() % 40];
        if (i % 2 == 0) name += given[random() % 40];
        const std::string file = "[ClassData]\r\nNumber=1\r\nName=" + name + "\r\n";
        EXPECT_EQ(normaliseFileBytes(file), encodeForFile(file)) << name << " saved as UTF-8";
        ++checked;
    }
    for (int i = 0; i < 2000; ++i) {
        std::string gbk = "[ClassData]\r\nName=";
        const int characters = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < characters; ++k) {
            const auto lead = static_cast<char>(0xB0 + random() % (0xF7 - 0xB0 + 1));
            const auto trail = static_cast<char>(0xA1 + random() % (0xFE - 0xA1 + 1));
            if (lead == static_cast<char>(0xD7) && static_cast<unsigned char>(trail) > 0xF9) continue; // unassigned
            gbk += lead;
            gbk += trail;
        }
        EXPECT_EQ(normaliseFileBytes(gbk), gbk) << "random GBK file " << i;
        ++checked;
    }
    EXPECT_EQ(checked, 2400);
}

} // namespace
} // namespace tallyra
