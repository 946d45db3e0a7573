#include "ui/windows/teaching_menu.h"

#include "ui/windows/class_import.h"

namespace tallyra::ui {

void addTeachingMenuItems(WindowSet& windows) {
    MainMenu& menu = windows.main().menu();
    const auto idle = [&windows] { return !windows.rollCall().isRolling(); };
    const auto item = [&menu](std::string_view text, MainMenu::Action action, MainMenu::State enabled) {
        menu.add([text] { return std::string(text); }, std::move(action), {}, std::move(enabled));
    };
    item(
        "从文件导入班级…", [&windows] { importClassFromFile(windows); }, idle);
}

} // namespace tallyra::ui
