#include "storage/pick_record_summary.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace tallyra {

void ClassTally::add(const Pick& pick) {
    if (pick.className != className_) return;
    // A pick taken back is no call; the day's list says so.
    int& count = counts_[{pick.number, pick.name}];
    count = pick.takenBack ? std::max(0, count - 1) : count + 1;
    if (pick.time.starts_with(date_))
        today_.append(pick.time.substr(std::min(pick.time.size(), date_.size() + 1)))
            .append("  ")
            .append(pick.number)
            .append("号 ")
            .append(pick.name)
            .append(pick.takenBack ? " 缺席，不计\r\n" : "\r\n");
}

std::string ClassTally::summary(const ClassRoster& roster) const {
    std::string text = "班级：" + className_ + "\r\n\r\n今天（" + date_ + "）的点名：\r\n";
    text += today_.empty() ? "（今天还没有点名）\r\n" : today_;
    text += "\r\n累计被点名次数（从少到多）：\r\n";
    std::vector<std::size_t> order(roster.size());
    std::iota(order.begin(), order.end(), std::size_t{1});
    const auto countOf = [&](std::size_t position) {
        const auto found = counts_.find({roster.numberAt(position), roster.nameAt(position)});
        return found == counts_.end() ? 0 : found->second;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return countOf(a) < countOf(b); });
    for (const std::size_t position : order)
        text += std::to_string(countOf(position)) + " 次  " + roster.numberAt(position) + "号 " +
                roster.nameAt(position) + "\r\n";
    return text;
}

std::string recordSummary(std::span<const Pick> picks, std::string_view className, const ClassRoster& roster,
                          std::string_view date) {
    ClassTally tally(className, date);
    for (const Pick& pick : picks)
        tally.add(pick);
    return tally.summary(roster);
}

std::string recordWindowText(const DataFolder& data, std::span<const Pick> waiting, std::string_view className,
                             const ClassRoster& roster, std::string_view date) {
    ClassTally tally(className, date);
    const platform::StreamRead read = readPickRecord(data, [&](const Pick& pick) { tally.add(pick); });
    if (read.outcome == platform::ReadOutcome::Failed)
        return "班级：" + std::string(className) + "\r\n\r\n无法读取点名记录文件，无法统计点名情况：\r\n" +
               pickRecordPath(data).utf8() + "\r\n" + fileProblemText(read.problem) + "。\r\n";
    for (const Pick& pick : waiting)
        tally.add(pick);
    return tally.summary(roster);
}

} // namespace tallyra
