// The INI dialect on file bytes: how items are found, and where a write puts them.
#include "storage/ini_dialect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace tallyra::ini {
namespace {

struct FindCase {
    const char* name;
    std::string_view file;
    std::string_view section;
    std::string_view key;
    std::optional<std::string_view> value;
};

const FindCase kFindCases[] = {
    {"plain item", "[Class]\r\nDefault=A\r\n", "Class", "Default", "A"},
    {"section and key in other capitals", "[CLASS]\r\ndefault=A\r\n", "class", "DEFAULT", "A"},
    {"value keeps its capitals", "[Settings]\r\nVoice=true\r\n", "Settings", "Voice", "true"},
    {"blanks around names and value", "  [ Class ]  \r\n  Default  =  A B  \r\n", "Class", "Default", "A B"},
    {"tabs around the value", "[Class]\nDefault=\tA\t\n", "Class", "Default", "A"},
    {"LF line ends", "[Class]\nClassName=A,B\nDefault=B\n", "Class", "Default", "B"},
    {"no line break at the end", "[Class]\r\nDefault=A", "Class", "Default", "A"},
    {"empty value", "[Class]\r\nClassName=\r\n", "Class", "ClassName", ""},
    {"equals sign inside the value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
    {"key of the same name in another section", "[Settings]\r\nDefault=X\r\n[Class]\r\nDefault=A\r\n", "Class",
     "Default", "A"},
    {"missing key", "[Class]\r\nClassName=A\r\n", "Class", "Default", std::nullopt},
    {"missing section", "[Settings]\r\nDefault=A\r\n", "Class", "Default", std::nullopt},
    {"empty file", "", "Class", "Default", std::nullopt},
    {"key that only starts like the wanted one", "[Class]\r\nDefaults=A\r\n", "Class", "Default", std::nullopt},
    {"comment line", "[Class]\r\n;Default=A\r\n", "Class", "Default", std::nullopt},
    {"GBK value", "[ClassData]\r\nName=\xD5\xC5\xC8\xFD\r\n", "ClassData", "Name", "\xD5\xC5\xC8\xFD"},
    // Only ASCII letters fold: 0x81 0x41 and 0x81 0x61 are two different characters.
    {"trail bytes never fold", "[S]\r\n\x81\x41=1\r\n", "S", "\x81\x61", std::nullopt},
    {"double-byte key", "[S]\r\n\x81\x41=1\r\n", "S", "\x81\x41", "1"},
    {"one pair of quotes stripped", "[S]\r\nk= \" a \" \r\n", "S", "k", " a "},
    {"single quotes too", "[S]\r\nk='a'\r\n", "S", "k", "a"},
    {"only one pair", "[S]\r\nk=\"\"a\"\"\r\n", "S", "k", "\"a\""},
    {"quotes that differ stay", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
    {"a lone quote stays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
    {"only the first of two sections of a name", "[S]\r\na=1\r\n[s]\r\nk=2\r\na=3\r\n", "S", "k", std::nullopt},
    {"the first section's value wins", "[S]\r\na=1\r\n[X]\r\n[S]\r\na=3\r\n", "S", "a", "1"},
};

TEST(IniDialect, FindsItemsAsThePlatformDoes) {
    for (const auto& c : kFindCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findValue(c.file, c.section, c.key), c.value);
    }
}

struct WriteCase {
    const char* name;
    std::string_view before;
    std::string_view section;
    std::string_view key;
    std::string_view value;
    std::string_view after;
};

const WriteCase kWriteCases[] = {
    {"new file", "", "Settings", "First", "False", "[Settings]\r\nFirst=False\r\n"},
    {"replace in place, other bytes untouched", "; notes\r\n[Class]\r\nClassName=A\r\nDefault=A\r\n\r\n[X]\r\ny=1\r\n",
     "class", "CLASSNAME", "A,B", "; notes\r\n[Class]\r\nClassName=A,B\r\nDefault=A\r\n\r\n[X]\r\ny=1\r\n"},
    {"replace keeps LF line ends", "[S]\nk=1\nj=2\n", "S", "k", "3", "[S]\nk=3\nj=2\n"},
    {"replace the last line without line break", "[S]\r\nk=1", "S", "k", "", "[S]\r\nk="},
    {"new key at the end of its section, before blank lines", "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n", "A", "n", "2",
     "[A]\r\na=1\r\nn=2\r\n\r\n[B]\r\nb=1\r\n"},
    {"new key in an empty section", "[A]\r\n[B]\r\nb=1\r\n", "A", "n", "2", "[A]\r\nn=2\r\n[B]\r\nb=1\r\n"},
    {"new key after a last line without line break", "[A]\r\na=1", "A", "n", "2", "[A]\r\na=1\r\nn=2\r\n"},
    {"new key after a last line ending in a lone CR", "[A]\r\na=1\r", "A", "n", "2", "[A]\r\na=1\r\r\nn=2\r\n"},
    {"new section at the end of the file", "[A]\r\na=1\r\n", "B", "b", "2", "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
    {"new section after a file without final line break", "[A]\r\na=1", "B", "b", "", "[A]\r\na=1\r\n[B]\r\nb=\r\n"},
    {"new key joins the first of two sections of a name", "[A]\r\na=1\r\n[A]\r\nn=1\r\n", "A", "n", "2",
     "[A]\r\na=1\r\nn=2\r\n[A]\r\nn=1\r\n"},
    {"a quoted value keeps its quotes", "[A]\r\nk=1\r\n", "A", "k", "'x'", "[A]\r\nk=\"'x'\"\r\n"},
};

TEST(IniDialect, WritesReplaceInPlaceAndAppendWhereThePlatformDoes) {
    for (const auto& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        const std::string after = withValue(c.before, c.section, c.key, c.value);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(findValue(after, c.section, c.key), c.value);
    }
}

TEST(IniDialect, EveryItemWrittenReadsBackAndNoneIsLost) {
    std::string file;
    const char* const sections[] = {"Settings", "Class", "ClassData"};
    for (int round = 0; round < 3; ++round) {
        for (const char* section : sections)
            for (int k = 0; k < 4; ++k)
                file = withValue(file, section, "key" + std::to_string(k), std::to_string(round * 100 + k));
    }
    for (const char* section : sections) {
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(findValue(file, section, "KEY" + std::to_string(k)), std::to_string(200 + k));
    }
    EXPECT_EQ(std::count(file.begin(), file.end(), '['), 3);
}

} // namespace
} // namespace tallyra::ini
