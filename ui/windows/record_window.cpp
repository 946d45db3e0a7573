#include "ui/windows/record_window.h"

#include "storage/student_marks.h"
#include "ui/windows/round_summary.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

namespace tallyra::ui {
namespace {

using namespace record_units;

constexpr int kWidth = 460;
constexpr int kHeight = 434;

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("点名记录", 343)),
    row(1001, {4, 15}, shared::closeButton(kWidth)),
    row(1002, {2}, shared::contentArea(kWidth, kHeight)),
    {.name = kRecordBox,
     .controlId = 1003,
     .kind = UnitKind::EditBox,
     .parent = shared::kContent,
     .rect = {14, 12, 430, 318},
     .font = {.charHeight = 16},
     .tabStop = true,
     .multiLine = true,
     .readOnly = true,
     .rescale = {3, 12}},
    row(1004, {5}, shared::buttonFrame(kOpenFrame, shared::kContent, 14, 344, 157, 40)),
    row(1005, {6, 12}, shared::framedButton(kOpenButton, kOpenFrame, 155, 38, "打开记录文件", 16)),
};

} // namespace

const WindowDesign kRecordWindowDesign{.name = "RecordWindow",
                                       .caption = "点名记录",
                                       .width = kWidth,
                                       .height = kHeight,
                                       .background = kTitleBlue,
                                       .canMinimise = false,
                                       .units = kUnits};

std::string recordSummary(std::span<const Pick> picks, std::string_view className, const ClassRoster& roster,
                          std::string_view date) {
    std::string today;
    std::map<std::pair<std::string, std::string>, int> counts;
    for (const Pick& pick : picks) {
        if (pick.className != className) continue;
        ++counts[{pick.number, pick.name}];
        if (pick.time.starts_with(date))
            today += pick.time.substr(std::min(pick.time.size(), date.size() + 1)) + "  " + pick.number + "号 " +
                     pick.name + "\r\n";
    }
    std::string text = "班级：" + std::string(className) + "\r\n\r\n今天（" + std::string(date) + "）的点名：\r\n";
    text += today.empty() ? "（今天还没有点名）\r\n" : today;
    text += "\r\n累计被点名次数（从少到多）：\r\n";
    std::vector<std::size_t> order(roster.size());
    std::iota(order.begin(), order.end(), std::size_t{1});
    const auto countOf = [&](std::size_t position) {
        const auto found = counts.find({roster.numberAt(position), roster.nameAt(position)});
        return found == counts.end() ? 0 : found->second;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return countOf(a) < countOf(b); });
    for (const std::size_t position : order)
        text += std::to_string(countOf(position)) + " 次  " + roster.numberAt(position) + "号 " +
                roster.nameAt(position) + "\r\n";
    return text;
}

void RecordWindow::onOpened() {
    rescaleForDpi();
    const std::vector<Pick> picks = readPickRecord(windows_.data());
    toolkit_.setText(window_, kRecordBox,
                     recordSummary(picks, windows_.round().className(), windows_.rollCall().roster(), todayText()) +
                         "\r\n" + roundSummary(windows_.rollCall()));
}

void RecordWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event != UnitEvent::Clicked) return;
    if (unit == kOpenButton) {
        if (pickRecordExists(windows_.data())) toolkit_.openFile(pickRecordPath(windows_.data()).utf8());
        else toolkit_.showMessage(kNoRecordYet);
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
