// The file encoding: GBK bytes from other programs read as the right text, rare
// characters outside GBK survive, byte lengths and cuts respect whole characters,
// and files re-saved as UTF-8 are recognised without mistaking GBK for UTF-8.
#include "storage/text_encoding.h"

#include "storage/platform/codec.h"

#include <gtest/gtest.h>

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
        if (c.outsideGbk && !platform::encodesEveryCharacter()) continue; // Wine: GBK only
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
        {"\xD5"
         "b",
         1, ""}, // a lead byte takes the next byte with it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes) + " limit " + std::to_string(c.limit));
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(normaliseFileBytes(c.raw), c.normalised);
    }
}

} // namespace
} // namespace tallyra
