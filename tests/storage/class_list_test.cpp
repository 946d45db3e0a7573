// The class list ClassName and the check of a name that must also be a file name.
#include "storage/class_list.h"
#include "storage/file_names.h"

#include "storage/ini_file.h"
#include "storage/text_encoding.h"

#include <gtest/gtest.h>

namespace tallyra {
namespace {

TEST(ClassList, AddRemoveRename) {
    struct Case {
        const char* operation;
        std::string result;
        std::string_view expected;
    } const cases[] = {
        {"add to empty", addClassName("", "二班"), "二班"},
        {"add to one", addClassName("一班", "二班"), "一班,二班"},
        {"remove middle", removeClassName("一班,二班,三班", "二班"), "一班,三班"},
        {"remove first", removeClassName("一班,二班,三班", "一班"), "二班,三班"},
        {"remove last", removeClassName("一班,二班,三班", "三班"), "一班,二班"},
        {"remove the only one", removeClassName("一班", "一班"), ""},
        {"remove from a list of another", removeClassName("二班", "一班"), "二班"},
        {"remove one that is not there", removeClassName("一班,二班", "三班"), "一班,二班"},
        {"remove a name inside other names", removeClassName("高一班,二班,一班", "一班"), "高一班,二班"},
        {"remove keeps capitals apart", removeClassName("Ab,AB", "AB"), "Ab"},
        {"rename", renameClassName("一班,二班", "一班", "三班"), "三班,二班"},
        {"rename a name inside other names", renameClassName("高一班,一班", "一班", "三班"), "高一班,三班"},
        {"rename one that is not there", renameClassName("高一班,二班", "一班", "三班"), "高一班,二班"},
        {"rename in empty list", renameClassName("", "一班", "三班"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST(ClassList, NamesThatCannotBeARosterFileOfTheirOwnAreRefused) {
    const std::string_view refused[] = {
        "Config",        "config",    "CONFIG",    "a\\b",       "a/b",    "a:b",       "a*b",
        "a?b",           "a\"b",      "a<b",       "a>b",        "a|b",    "a\tb",      std::string_view("a\0b", 3),
        "a\x1F",         "a\x7F",     ".",         "..",         " 一班",  "一班 ",     "一班.",
        "CON",           "con",       "PRN",       "AUX",        "NUL",    "nul.txt",   "COM1",
        "com9",          "LPT1",      "LPT9.conf", "CON.tar.gz", "COM0",   "lpt0",      "COM\u00B9",
        "LPT\u00B2.txt", "com\u00B3", "CON .a",    "nul  .txt",  "CONIN$", "conout$.x",
    };
    for (std::string_view name : refused) {
        SCOPED_TRACE(::testing::PrintToString(name));
        EXPECT_EQ(checkClassName(name), kClassNameInvalid);
    }
    const std::string_view accepted[] = {
        "一班", "高一(3)班", "Config.bak", "Configs", "My Config", "CONSOLE", "COM\u2074",    "COM10",
        "LPT",  "a.b",       ".一班",      "NULL",    "𠀀班",      "ＣＯＮ",  "Ｃｏｎｆｉｇ",
    };
    for (std::string_view name : accepted) {
        SCOPED_TRACE(::testing::PrintToString(name));
        if (!storesAsItself(name)) continue; // outside GBK, where the system stores nothing else (Wine)
        EXPECT_EQ(checkClassName(name), std::nullopt);
    }
    EXPECT_EQ(kClassNameInvalid.flags, kErrorOk);
}

TEST(ClassList, NamesTooLongForAFileNameAreRefused) {
    std::string name;
    for (std::size_t i = 0; i < kClassNameMaxCharacters; ++i)
        name += "班";
    EXPECT_EQ(checkClassName(name), std::nullopt);
    EXPECT_EQ(checkClassName(name + "a"), kClassNameTooLong);
    EXPECT_EQ(checkClassName(std::string(kClassNameMaxCharacters + 1, 'a')), kClassNameTooLong);
    // Bytes that form no UTF-8 character count one each.
    EXPECT_EQ(checkClassName(std::string(kClassNameMaxCharacters + 1, '\xB0')), kClassNameTooLong);
}

TEST(ClassList, FileNamesFoldCaseInEveryScript) {
    struct Case {
        std::string_view name, upper;
    } const cases[] = {
        {"a班", "A班"}, {"ａ班", "Ａ班"}, {"σ组", "Σ组"},   {"д组", "Д组"},
        {"éa", "ÉA"},   {"ⅰ班", "Ⅰ班"},   {"一班", "一班"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(upperCaseFileName(c.name), c.upper) << c.name;
        EXPECT_TRUE(sameFileName(c.name, c.upper)) << c.name;
    }
    EXPECT_FALSE(sameFileName("A班", "Ａ班")) << "a full-width letter is another character";
}

TEST(ClassList, NewNamesMustNameAFileOfTheirOwn) {
    struct Case {
        std::string_view list, name;
        std::optional<std::string_view> renamedFrom;
        std::optional<Message> refusal;
    } const cases[] = {
        {"", "一班", {}, std::nullopt},
        {"A班", "a班", {}, kClassNameTakenSingle},
        {"一班,A班", "a班", {}, kClassNameTaken},
        {"一班,Ａ班", "ａ班", {}, kClassNameTaken}, // full-width
        {"一班,Σ组", "σ组", {}, kClassNameTaken},   // Greek
        {"一班,Д组", "д组", {}, kClassNameTaken},   // Cyrillic
        {"一班,Éa", "éA", {}, kClassNameTaken},     // Latin-1
        {"一班,二班", "一班,三班", {}, kClassNameWithComma},
        {"一班,二班", "CON", {}, kClassNameInvalid},
        {"一班,A班", "a班", "A班", std::nullopt}, // a case variant of its own name
        {"一班,A班", "a班", "一班", kClassNameTaken},
        {"A班,a班", "A班", "a班", kClassNameTaken}, // hand-edited list: the other one still counts
        {"一班,二班", "三班", "一班", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " + " + std::string(c.name));
        EXPECT_EQ(checkNewClassName(c.list, c.name, c.renamedFrom), c.refusal);
    }
}

TEST(ClassList, ListThatWouldNotReadBackWholeIsRefused) {
    std::string list = "一班";
    while (fileByteLength(addClassName(list, "二班")) <= kIniValueLimit)
        list = addClassName(list, "二班");
    EXPECT_EQ(checkClassListLength(list), std::nullopt);
    EXPECT_EQ(checkClassListLength(addClassName(list, "二班")), kClassListFull);
}

} // namespace
} // namespace tallyra
