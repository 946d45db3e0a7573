#include "ui/windows/teaching_menu.h"

#include "ui/windows/class_import.h"
#include "ui/windows/groups_window.h"
#include "ui/windows/multi_draw_window.h"
#include "ui/windows/record_window.h"
#include "ui/windows/round_summary.h"

#include <algorithm>
#include <memory>

namespace tallyra::ui {
namespace {

// The menu's own windows, held by its items for the life of the main window.
struct TeachingWindows {
    std::unique_ptr<MultiDrawWindow> multiDraw;
    std::unique_ptr<GroupsWindow> groups;
};

std::size_t presentCount(const RollCall& rollCall) {
    return rollCall.roster().size() - rollCall.absentCount();
}

} // namespace

void addTeachingMenuItems(WindowSet& windows) {
    MainMenu& menu = windows.main().menu();
    auto own = std::shared_ptr<TeachingWindows>(new TeachingWindows);
    const auto idle = [&windows] { return !windows.rollCall().isRolling(); };
    const auto item = [&menu](std::string_view text, MainMenu::Action action, MainMenu::State enabled) {
        menu.add([text] { return std::string(text); }, std::move(action), {}, std::move(enabled));
    };
    // A window of the menu hides the main window, as the settings button does.
    const auto open = [&windows](auto& window) {
        if (window && window->isOpen()) return;
        windows.main().setFullScreen(false);
        windows.toolkit().showWindow(windows.main().id(), false);
        window = std::make_unique<typename std::remove_reference_t<decltype(window)>::element_type>(windows);
        window->open();
    };
    item(
        "刚抽到的学生缺席，重新抽取",
        [&windows] {
            MainWindow& main = windows.main();
            if (!windows.session().takeBackLastPick()) return;
            main.showRoundCount();
            main.onUnitEvent(main.id(), main_units::kStartStop, UnitEvent::Clicked); // a new roll at once
        },
        [&windows, idle] { return idle() && windows.session().lastSettled() != 0; });
    item(
        "一次抽取多人…", [own, open] { open(own->multiDraw); },
        [&windows, idle] { return idle() && presentCount(windows.rollCall()) >= 2; });
    item(
        "随机分组…", [own, open] { open(own->groups); },
        [&windows, idle] { return idle() && presentCount(windows.rollCall()) > 0; });
    // The record window ends with the round; this item opens it there.
    item(
        "本轮抽取情况…",
        [&windows] {
            windows.main().setFullScreen(false);
            windows.toolkit().showWindow(windows.main().id(), false);
            windows.openRecord();
            RecordWindow* record = windows.record();
            if (!record) return;
            const std::string text = windows.toolkit().text(record->id(), record_units::kRecordBox);
            const auto heading = static_cast<std::ptrdiff_t>(text.rfind(kRoundSummaryHeading));
            windows.toolkit().selectLine(
                record->id(), record_units::kRecordBox,
                static_cast<std::size_t>(std::count(text.begin(), text.begin() + heading, '\n')));
        },
        [&windows] { return windows.rollCall().roster().size() > 0; });
    item(
        "从文件导入班级…", [&windows] { importClassFromFile(windows); }, idle);
}

} // namespace tallyra::ui
