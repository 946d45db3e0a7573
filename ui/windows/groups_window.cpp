#include "ui/windows/groups_window.h"

#include "ui/windows/window_set.h"

#include "draw/random_source.h"
#include "storage/utf8.h"

#include <algorithm>
#include <charconv>

namespace tallyra::ui {
namespace {

using namespace groups_units;

constexpr int kWidth = 720;
constexpr int kHeight = 520;
constexpr std::string_view kColumnNames[kColumns] = {"groupColumn0", "groupColumn1", "groupColumn2", "groupColumn3",
                                                     "groupColumn4", "groupColumn5", "groupColumn6", "groupColumn7"};
constexpr int kColumnsTop = 54;
constexpr int kMargin = 14;

constexpr UnitDesign radio(std::string_view name, int id, int step, Rect rect, std::string_view caption) {
    return {.name = name,
            .controlId = id,
            .kind = UnitKind::RadioBox,
            .parent = shared::kContent,
            .rect = rect,
            .text = caption,
            .font = {.charHeight = 19},
            .tabStop = true,
            .rescale = {step, 14}};
}

constexpr UnitDesign groupColumn(int index) {
    return {.name = kColumnNames[index],
            .controlId = 1012 + index,
            .kind = UnitKind::EditBox,
            .parent = shared::kContent,
            .rect = {kMargin, kColumnsTop, 80, 400},
            .font = {.charHeight = 19},
            .visible = false,
            .multiLine = true,
            .readOnly = true};
}

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("随机分组", 600)),
    row(1001, {2, 15}, shared::closeButton(kWidth)),
    row(1002, {3}, shared::contentArea(kWidth, kHeight)),
    row(1003, {4, 14}, shared::contentLabel("groupModeLabel", {kMargin, 12, 86, 28}, "分组方式:")),
    radio(kByCount, 1004, 5, {100, 12, 86, 28}, "按组数"),
    radio(kBySize, 1005, 6, {186, 12, 118, 28}, "按每组人数"),
    {.name = "groupNumberFrame",
     .controlId = 1006,
     .kind = UnitKind::ShapeBox,
     .parent = shared::kContent,
     .rect = {306, 10, 60, 32},
     .background = kWhite,
     .outline = kButtonFrameGrey,
     .rescale = {7}},
    {.name = kNumberBox,
     .controlId = 1007,
     .kind = UnitKind::EditBox,
     .parent = "groupNumberFrame",
     .rect = {3, 3, 54, 26},
     .text = "4",
     .font = {.charHeight = 19},
     .tabStop = true,
     .rescale = {8, 14}},
    row(1008, {9}, shared::buttonFrame("regroupFrame", shared::kContent, 378, 10, 102, 32)),
    row(1009, {10, 12}, shared::framedButton(kRegroupButton, "regroupFrame", 100, 30, "重新分组", 16)),
    row(1010, {11}, shared::buttonFrame("copyGroupsFrame", shared::kContent, 488, 10, 72, 32)),
    row(1011, {12, 12}, shared::framedButton(kCopyButton, "copyGroupsFrame", 70, 30, "复制", 16)),
    groupColumn(0),
    groupColumn(1),
    groupColumn(2),
    groupColumn(3),
    groupColumn(4),
    groupColumn(5),
    groupColumn(6),
    groupColumn(7),
};

// Widths in full-width characters: a Chinese character takes one, an ASCII one about half.
int textEms(std::string_view line) {
    int halves = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = std::max<std::size_t>(1, decodeUtf8At(line, pos).length);
        halves += length == 1 ? 1 : 2;
        pos += length;
    }
    return (halves + 1) / 2;
}

std::string heading(std::size_t index, std::size_t size) {
    return "第" + std::to_string(index + 1) + "组（" + std::to_string(size) + "人）";
}

} // namespace

const WindowDesign kGroupsWindowDesign{.name = "GroupsWindow",
                                       .caption = "随机分组",
                                       .width = kWidth,
                                       .height = kHeight,
                                       .background = kTitleBlue,
                                       .canMinimise = false,
                                       .units = kUnits};

std::string_view groups_units::column(int index) {
    return kColumnNames[index];
}

std::string groupsAsTable(const std::vector<std::vector<std::string>>& groups) {
    std::size_t rows = 0;
    for (const auto& group : groups)
        rows = std::max(rows, group.size());
    std::string text;
    for (std::size_t row = 0; row <= rows; ++row) {
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (g > 0) text += '\t';
            if (row == 0)
                text += heading(g, groups[g].size());
            else if (row <= groups[g].size())
                text += groups[g][row - 1];
        }
        text += "\r\n";
    }
    return text;
}

GroupsWindow::GroupsWindow(WindowSet& windows)
    : SecondaryWindow(windows), dealer_(RandomSource::systemTicks() ^ 0x5DEECE66u) {}

void GroupsWindow::onClosed() {
    windows_.showMain();
}

void GroupsWindow::onOpened() {
    rescaleForDpi();
    toolkit_.setChecked(window_, kByCount, true);
    regroup();
}

void GroupsWindow::regroup() {
    const RollCall& rollCall = windows_.rollCall();
    std::vector<std::size_t> present;
    for (std::size_t position = 1; position <= rollCall.roster().size(); ++position)
        if (position > rollCall.absent().size() || !rollCall.absent()[position - 1]) present.push_back(position);
    const std::string typed = toolkit_.text(window_, kNumberBox);
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), number);
    if (error != std::errc() || end != typed.data() + typed.size() || number == 0 || number > present.size()) {
        const std::string text = present.empty() ? std::string("今天没有可以分组的学生。")
                                                 : "请输入 1 到 " + std::to_string(present.size()) + " 之间的数字。";
        toolkit_.showMessage(Message::owning("随机分组", text, kWarningOk));
        if (!groups_.empty() || present.empty()) return;
        number = 1;
    }
    const std::size_t groupCount = toolkit_.isChecked(window_, kBySize) ? groupsOfSize(present.size(), number) : number;
    groups_.clear();
    const ClassRoster& roster = rollCall.roster();
    for (const auto& group : dealer_.deal(present, groupCount)) {
        auto& names = groups_.emplace_back();
        for (const std::size_t position : group)
            names.push_back(roster.numberAt(position) + " " + roster.nameAt(position));
    }
    showGroups();
}

// Up to kColumns columns side by side over the rest of the content area; more groups
// stack in the columns. The text takes the largest size at which every column fits.
void GroupsWindow::showGroups() {
    const float scale = fullScreen_.on() ? 1.0f : windows_.dpiScale();
    const Rect content = toolkit_.unitRect(window_, shared::kContent);
    const int margin = static_cast<int>(kMargin * scale);
    const int top = static_cast<int>(kColumnsTop * scale);
    const int columns = std::clamp(static_cast<int>(groups_.size()), 1, kColumns);
    const int gap = margin / 2;
    const int width = (content.width - 2 * margin - gap * (columns - 1)) / columns;
    const int height = content.height - top - margin;
    std::vector<std::string> texts(static_cast<std::size_t>(columns));
    std::vector<int> lines(texts.size());
    int widest = 1;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const std::size_t c = g % texts.size();
        std::string& text = texts[c];
        if (!text.empty()) text += "\r\n", ++lines[c];
        text += heading(g, groups_[g].size()) + "\r\n";
        widest = std::max(widest, textEms(heading(g, groups_[g].size())));
        for (const std::string& member : groups_[g]) {
            text += member + "\r\n";
            widest = std::max(widest, textEms(member));
        }
        lines[c] += static_cast<int>(groups_[g].size()) + 1;
    }
    const int mostLines = std::max(1, *std::max_element(lines.begin(), lines.end()));
    // Pixels per character: the lines need about 1.4 of it, the widest entry its width and a margin.
    const int pixels = std::clamp(std::min(height * 10 / (mostLines * 14), width / (widest + 1)), 9, 96);
    const int points = std::max(6, pixels * 72 / std::max(1, toolkit_.horizontalPixelsPerInch(window_)));
    for (int c = 0; c < kColumns; ++c) {
        const bool used = c < columns && !texts[static_cast<std::size_t>(c)].empty();
        toolkit_.setVisible(window_, kColumnNames[c], used);
        if (!used) continue;
        toolkit_.setUnitRect(window_, kColumnNames[c], {margin + c * (width + gap), top, width, height});
        toolkit_.setFontSize(window_, kColumnNames[c], points);
        toolkit_.setText(window_, kColumnNames[c], texts[static_cast<std::size_t>(c)]);
    }
}

void GroupsWindow::onKey(WindowId window, Key key, KeyAction action) {
    if (action != KeyAction::Pressed || !isOpen()) return;
    if (key == Key::F11 || (key == Key::Escape && fullScreen_.on())) {
        fullScreen_.set(toolkit_, window_, !fullScreen_.on());
        showGroups();
        return;
    }
    SecondaryWindow::onKey(window, key, action);
}

void GroupsWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event != UnitEvent::Clicked) return;
    if (unit == kRegroupButton || unit == kByCount || unit == kBySize) {
        regroup();
    } else if (unit == kCopyButton) {
        toolkit_.setClipboardText(groupsAsTable(groups_));
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
