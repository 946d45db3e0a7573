#include "ui/windows/round_summary.h"

namespace tallyra::ui {

std::string roundSummary(const RollCall& rollCall) {
    const ClassRoster& roster = rollCall.roster();
    const auto flag = [](const StudentMarks& marks, std::size_t position) {
        return position <= marks.size() && marks[position - 1];
    };
    std::string drawn, left;
    std::size_t drawnCount = 0;
    for (std::size_t position = 1; position <= roster.size(); ++position) {
        std::string line = roster.numberAt(position) + "号 " + roster.nameAt(position);
        if (flag(rollCall.absent(), position)) line += "（今天缺席）";
        line += "\r\n";
        if (flag(rollCall.drawn(), position))
            drawn += line, ++drawnCount;
        else
            left += line;
    }
    return std::string(kRoundSummaryHeading) + "（已抽到 " + std::to_string(drawnCount) + " / " +
           std::to_string(roster.size()) + "）：\r\n\r\n本轮已抽到：\r\n" + (drawn.empty() ? "（还没有）\r\n" : drawn) +
           "\r\n本轮尚未抽到：\r\n" + (left.empty() ? "（全班均已抽到）\r\n" : left);
}

} // namespace tallyra::ui
