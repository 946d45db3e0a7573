// The class list ClassName and the check of a name that must also be a file name.
#include "storage/class_list.h"
#include "storage/file_names.h"

#include "storage/ini_file.h"
#include "storage/text_encoding.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

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
        "Config", "config", "CONFIG",    "a\\b",       "a/b",   "a:b",     "a*b",
        "a?b",    "a\"b",   "a<b",       "a>b",        "a|b",   "a\tb",    std::string_view("a\0b", 3),
        "a\x1F",  "a\x7F",  ".",         "..",         " 一班", "一班 ",   "一班.",
        "CON",    "con",    "PRN",       "AUX",        "NUL",   "nul.txt", "COM1",
        "com9",   "LPT1",   "LPT9.conf", "CON.tar.gz", "COM0", "lpt0", "COM\u00B9", "LPT\u00B2.txt",
        "com\u00B3", "CON .a", "nul  .txt", "CONIN$", "conout$.x",
    };
    for (std::string_view name : refused) {
        SCOPED_TRACE(::testing::PrintToString(name));
        EXPECT_EQ(checkClassName(name), kClassNameInvalid);
    }
    const std::string_view accepted[] = {
        "一班",  "高一(3)班", "Config.bak", "Configs", "My Config", "CONSOLE", "COM\u2074",
        "COM10", "LPT",       "a.b",        ".一班",   "NULL",      "𠀀班",     "ＣＯＮ",   "Ｃｏｎｆｉｇ",
    };
    for (std::string_view name : accepted) {
        SCOPED_TRACE(::testing::PrintToString(name));
        EXPECT_EQ(checkClassName(name), std::nullopt);
    }
    EXPECT_EQ(kClassNameInvalid.flags, kErrorOk);
}

TEST(ClassList, NamesTooLongForAFileNameAreRefused) {
    std::string name;
    for (std::size_t i = 0; i < kClassNameMaxCharacters; ++i) name += "班";
    EXPECT_EQ(checkClassName(name), std::nullopt);
    EXPECT_EQ(checkClassName(name + "a"), kClassNameTooLong);
    EXPECT_EQ(checkClassName(std::string(kClassNameMaxCharacters + 1, 'a')), kClassNameTooLong);
    // Bytes that form no UTF-8 character count one each.
    EXPECT_EQ(checkClassName(std::string(kClassNameMaxCharacters + 1, '\xB0')), kClassNameTooLong);
}

#ifdef _WIN32
// Our case fold against the system's own comparison of file names, over the whole
// Basic Multilingual Plane: we merge exactly the names that Windows merges.
TEST(ClassList, FileNamesFoldCaseAsWindowsDoes) {
    int mismatches = 0;
    for (wchar_t c = 1; c < 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        wchar_t upper = c;
        CharUpperBuffW(&upper, 1);
        const auto utf8 = [](wchar_t w) {
            char bytes[8] = {};
            const int n = WideCharToMultiByte(CP_UTF8, 0, &w, 1, bytes, sizeof bytes, nullptr, nullptr);
            return std::string(bytes, static_cast<std::size_t>(n));
        };
        const bool windowsSame = CompareStringOrdinal(&c, 1, &upper, 1, TRUE) == CSTR_EQUAL;
        if (upper != c && sameFileName(utf8(c), utf8(upper)) != windowsSame && ++mismatches < 20)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c) << " / U+" << static_cast<unsigned>(upper)
                          << (windowsSame ? " are one file on Windows" : " are two files on Windows");
        // Nor do we merge a letter with a capital that Windows keeps apart.
        const std::string folded = upperCaseFileName(utf8(c));
        wchar_t foldedWide[4] = {};
        const int n = MultiByteToWideChar(CP_UTF8, 0, folded.data(), static_cast<int>(folded.size()), foldedWide, 4);
        if (CompareStringOrdinal(&c, 1, foldedWide, n, TRUE) != CSTR_EQUAL && ++mismatches < 20)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c) << " is folded to a letter Windows keeps apart";
    }
    EXPECT_EQ(mismatches, 0);
}
#endif

TEST(ClassList, NewNamesMustNameAFileOfTheirOwn) {
    struct Case {
        std::string_view list, name;
        std::optional<std::string_view> renamedFrom;
        std::optional<Message> refusal;
    } const cases[] = {
        {"", "一班", {}, std::nullopt},
        {"A班", "a班", {}, kClassNameTakenSingle},
        {"一班,A班", "a班", {}, kClassNameTaken},
        {"一班,Ａ班", "ａ班", {}, kClassNameTaken},           // full-width
        {"一班,Σ组", "σ组", {}, kClassNameTaken},             // Greek
        {"一班,Д组", "д组", {}, kClassNameTaken},             // Cyrillic
        {"一班,Éa", "éA", {}, kClassNameTaken},               // Latin-1
        {"一班,二班", "一班,三班", {}, kClassNameWithComma},
        {"一班,二班", "CON", {}, kClassNameInvalid},
        {"一班,A班", "a班", "A班", std::nullopt},              // a case variant of its own name
        {"一班,A班", "a班", "一班", kClassNameTaken},
        {"A班,a班", "A班", "a班", kClassNameTaken},           // hand-edited list: the other one still counts
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
