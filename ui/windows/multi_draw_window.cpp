#include "ui/windows/multi_draw_window.h"

#include "ui/windows/window_set.h"

#include "draw/random_source.h"
#include "storage/settings.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tallyra::ui {
namespace {

using namespace multi_draw_units;

constexpr int kWidth = 720;
constexpr int kHeight = 520;
constexpr int kMargin = 14;
constexpr int kSlotsTop = 54;

// "slot00" to "slot59", kept for the names of the layout rows.
struct SlotNames {
    std::array<std::array<char, 7>, kMaxSlots> text{};
    constexpr SlotNames() {
        for (int i = 0; i < kMaxSlots; ++i)
            text[i] = {'s', 'l', 'o', 't', static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10), '\0'};
    }
};
constexpr SlotNames kSlotNames;

// What a slot shows of a student: "07 张三".
std::string slotText(const ClassRoster& roster, std::size_t position) {
    return roster.numberAt(position) + " " + roster.nameAt(position);
}

// How many characters wide a line is about, a digit, Latin letter or blank taken as half of one.
int lineEms(std::string_view line) {
    int halves = 0;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        halves += byte < 0x80 ? 1 : (byte & 0xC0) == 0xC0 ? 2 : 0; // UTF-8: a lead byte starts a wide character
    }
    return (halves + 1) / 2;
}

constexpr UnitDesign slotRow(int index) {
    return {.name = std::string_view(kSlotNames.text[index].data(), 6),
            .controlId = 1010 + index,
            .kind = UnitKind::Label,
            .parent = shared::kContent,
            .rect = {kMargin, kSlotsTop, 100, 60},
            .font = {.charHeight = 40},
            .hAlign = HAlign::Center,
            .vAlign = VAlign::Center,
            .visible = false};
}

constexpr std::array<UnitDesign, 9> kFixedUnits{
    row(1000, {1, 11}, shared::titleLabel("一次抽取多人", 600)),
    row(1001, {2, 15}, shared::closeButton(kWidth)),
    row(1002, {3}, shared::contentArea(kWidth, kHeight)),
    row(1003, {4, 14}, shared::contentLabel("drawCountLabel", {kMargin, 12, 118, 28}, "一次抽取人数:")),
    UnitDesign{.name = "drawCountFrame",
               .controlId = 1004,
               .kind = UnitKind::ShapeBox,
               .parent = shared::kContent,
               .rect = {134, 10, 60, 32},
               .background = kWhite,
               .outline = kButtonFrameGrey,
               .rescale = {5}},
    UnitDesign{.name = kCountBox,
               .controlId = 1005,
               .kind = UnitKind::EditBox,
               .parent = "drawCountFrame",
               .rect = {3, 3, 54, 26},
               .font = {.charHeight = 19},
               .tabStop = true,
               .rescale = {6, 14}},
    row(1006, {7}, shared::buttonFrame("multiStartStopFrame", shared::kContent, 206, 10, 89, 32)),
    row(1007, {8, 12}, shared::framedButton(kStartStop, "multiStartStopFrame", 87, 30, kStartCaption, 16)),
    UnitDesign{.name = kTimer,
               .controlId = 1008,
               .kind = UnitKind::Timer,
               .parent = shared::kContent,
               .rect = {680, 10, 26, 26},
               .visible = false}};

} // namespace

// The slots' rows differ only in their names and ids, so they are filled in the
// first time the window is built: kept as data, the sixty rows took 9 KB of the
// executable. Both statics are constant-initialised (no guard).
const WindowDesign& multiDrawWindowDesign() {
    static std::vector<UnitDesign> units;
    static WindowDesign design;
    if (units.empty()) {
        constexpr UnitDesign kSlot = slotRow(0);
        units.assign(kFixedUnits.begin(), kFixedUnits.end());
        units.resize(kFixedUnits.size() + kMaxSlots, kSlot);
        for (int i = 0; i < kMaxSlots; ++i) {
            UnitDesign& unit = units[kFixedUnits.size() + static_cast<std::size_t>(i)];
            unit.name = slot(i);
            unit.controlId = kSlot.controlId + i;
        }
        design = {.name = "MultiDrawWindow",
                  .caption = "一次抽取多人",
                  .width = kWidth,
                  .height = kHeight,
                  .background = kTitleBlue,
                  .canMinimise = false,
                  .units = units};
    }
    return design;
}

std::string_view multi_draw_units::slot(int index) {
    return {kSlotNames.text[static_cast<std::size_t>(index)].data(), 6};
}

std::string fewLeftQuestion(std::size_t left) {
    const std::string n = std::to_string(left);
    return "本轮只剩 " + n + " 名学生尚未抽到，少于要抽取的人数。是否开始新一轮抽取？\r\n\r\n是：这 " + n +
           " 名学生一定在本次抽取中，其余的人从新一轮中抽取。\r\n否：只抽取这 " + n + " 名学生。";
}

int gridColumns(int slots, Size area, int lineEms) {
    int best = 1, bestSize = 0;
    for (int columns = 1; columns <= slots; ++columns) {
        const int rows = (slots + columns - 1) / columns;
        // The largest character that fits a cell: its height, or its width over the line's length.
        const int size = std::min(area.height / rows, area.width / columns / std::max(1, lineEms));
        if (size > bestSize) best = columns, bestSize = size;
    }
    return best;
}

MultiDrawWindow::MultiDrawWindow(WindowSet& windows)
    : SecondaryWindow(windows), draw_(RandomSource::systemTicks() ^ 0x2545F491u) {}

void MultiDrawWindow::onOpened() {
    rescaleForDpi();
    const std::size_t present = windows_.rollCall().roster().size() - windows_.rollCall().absentCount();
    const std::size_t saved = settings::multiDrawCount(windows_.data());
    const std::size_t count = std::clamp<std::size_t>(saved == 0 ? 2 : saved, 2, std::max<std::size_t>(2, present));
    toolkit_.setText(window_, kCountBox, std::to_string(count));
}

void MultiDrawWindow::onClosed() {
    rolling_ = false; // a roll closed unsettled draws no one
    windows_.showMain();
}

void MultiDrawWindow::pressStartStop() {
    if (rolling_)
        stop();
    else
        start();
}

void MultiDrawWindow::start() {
    windows_.session().syncRound();
    const RollCall& rollCall = windows_.rollCall();
    const std::size_t present = rollCall.roster().size() - rollCall.absentCount();
    const std::size_t most = std::min<std::size_t>(present, kMaxSlots);
    const std::string typed = toolkit_.text(window_, kCountBox);
    std::size_t wanted = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), wanted);
    if (error != std::errc() || end != typed.data() + typed.size() || wanted < 2 || wanted > most) {
        const std::string text = most < 2 ? std::string("今天到场的学生不足 2 人。")
                                          : "请输入 2 到 " + std::to_string(most) + " 之间的人数。";
        toolkit_.showMessage(Message::owning("一次抽取多人", text, kWarningOk));
        return;
    }
    if (settings::multiDrawCount(windows_.data()) != wanted && !settings::setMultiDrawCount(windows_.data(), wanted))
        toolkit_.showMessage(kDataNotSaved);
    bool newRound = false;
    if (MultiDraw::needsNewRoundQuestion(rollCall, wanted)) {
        const std::string question = fewLeftQuestion(rollCall.drawPool().size());
        newRound = toolkit_.askWithRemote(Message::owning(kRoundOverQuestion.title, question, kQuestionYesNo)) ==
                   MessageAnswer::Yes;
    }
    slots_ = draw_.start(rollCall, wanted, newRound);
    if (slots_ == 0) return;
    lines_.clear();
    for (const std::size_t position : draw_.pool())
        lines_.push_back(slotText(rollCall.roster(), position));
    rolling_ = true;
    layOut();
    toolkit_.setText(window_, kStartStop, kStopCaption);
    toolkit_.setTimerInterval(window_, kTimer, kRollIntervalMs * 5);
    show(draw_.roll());
}

void MultiDrawWindow::stop() {
    rolling_ = false;
    toolkit_.setTimerInterval(window_, kTimer, 0);
    toolkit_.setText(window_, kStartStop, kStartCaption);
    const std::vector<std::size_t> settled = draw_.settle();
    show(settled);
    windows_.session().settleSeveral(settled, draw_.certain(), draw_.newRound());
    windows_.main().showRoundCount();
}

void MultiDrawWindow::show(const std::vector<std::size_t>& positions) {
    const ClassRoster& roster = windows_.rollCall().roster();
    for (std::size_t i = 0; i < positions.size() && i < kMaxSlots; ++i)
        toolkit_.setText(window_, slot(static_cast<int>(i)), slotText(roster, positions[i]));
}

// The slots share the area below the controls as a grid of equal cells, and one text
// size: the largest at which every student the roll can show fits a cell.
void MultiDrawWindow::layOut() {
    const float scale = fullScreen_.on() ? 1.0f : windows_.dpiScale();
    const Rect content = toolkit_.unitRect(window_, shared::kContent);
    const int margin = static_cast<int>(kMargin * scale);
    const int top = static_cast<int>(kSlotsTop * scale);
    const Size area{content.width - 2 * margin, content.height - top - margin};
    const int slots = static_cast<int>(slots_);
    int ems = 1;
    for (const std::string& line : lines_)
        ems = std::max(ems, lineEms(line));
    const int columns = gridColumns(slots, area, ems);
    const int rows = std::max(1, (slots + columns - 1) / columns);
    const int width = area.width / columns, height = area.height / rows;
    std::vector<std::string_view> shown;
    for (int i = 0; i < kMaxSlots; ++i) {
        toolkit_.setVisible(window_, slot(i), i < slots);
        if (i >= slots) continue;
        toolkit_.setUnitRect(window_, slot(i),
                             {margin + (i % columns) * width, top + (i / columns) * height, width, height});
        shown.push_back(slot(i));
    }
    toolkit_.fitLinesTogether(window_, shown, lines_);
}

void MultiDrawWindow::onKey(WindowId window, Key key, KeyAction action) {
    if (action != KeyAction::Pressed || !isOpen()) return;
    switch (key) {
    case Key::Space:
    case Key::Enter:
    case Key::PageDown:
    case Key::PageUp:
    case Key::Left:
    case Key::Up:
    case Key::Right:
    case Key::Down:
        pressStartStop();
        return;
    case Key::F11:
        fullScreen_.set(toolkit_, window_, !fullScreen_.on());
        layOut();
        return;
    case Key::Escape:
        if (fullScreen_.on()) {
            fullScreen_.set(toolkit_, window_, false);
            layOut();
            return;
        }
        break;
    default:
        break;
    }
    SecondaryWindow::onKey(window, key, action);
}

void MultiDrawWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (unit == kTimer && event == UnitEvent::Tick) {
        if (rolling_) show(draw_.roll());
    } else if (event == UnitEvent::DoubleClicked && unit.starts_with("slot")) {
        fullScreen_.set(toolkit_, window_, !fullScreen_.on());
        layOut();
    } else if (event != UnitEvent::Clicked) {
        return;
    } else if (unit == kStartStop) {
        pressStartStop();
    } else if (unit == shared::kCloseButton) {
        toolkit_.setTimerInterval(window_, kTimer, 0);
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

} // namespace tallyra::ui
