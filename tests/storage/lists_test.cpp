// Lists kept in one text: cutting at a delimiter and joining with ",".
#include "storage/lists.h"

#include <gtest/gtest.h>

namespace tallyra {
namespace {

using List = std::vector<std::string>;

TEST(Lists, SplitList) {
    struct Case {
        std::string_view text;
        std::string_view delimiter;
        List items;
    } const cases[] = {
        {"", ",", {}},
        {"A", ",", {"A"}},
        {"A,B", ",", {"A", "B"}},
        {"A,,B", ",", {"A", "", "B"}},
        {"A,B,", ",", {"A", "B"}},
        {",A", ",", {"", "A"}},
        {",", ",", {""}},
        {"一班,二班,三班", ",", {"一班", "二班", "三班"}},
        {"1\t张三\r\n2\t李四\r\n", "\r\n", {"1\t张三", "2\t李四"}},
        {"1\t张三\r\n\r\n2\t李四", "\r\n", {"1\t张三", "", "2\t李四"}},
        {"1\t张三\n2\t李四\r3", "\r\n", {"1\t张三\n2\t李四\r3"}},
        {"\t张三", "\t", {"", "张三"}},
        {"1\t", "\t", {"1"}},
        {"1\t张\t三", "\t", {"1", "张", "三"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " at " + testing::PrintToString(c.delimiter));
        EXPECT_EQ(splitList(c.text, c.delimiter), c.items);
    }
}

TEST(Lists, JoinList) {
    EXPECT_EQ(joinList({}), "");
    EXPECT_EQ(joinList({"一班"}), "一班");
    EXPECT_EQ(joinList({"1", "", "3"}), "1,,3");
    EXPECT_EQ(joinList({"", ""}), ",");
}

} // namespace
} // namespace tallyra
