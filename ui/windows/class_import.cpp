#include "ui/windows/class_import.h"

#include "storage/roster_import.h"
#include "ui/windows/class_management_window.h"
#include "ui/windows/settings_window.h"

namespace tallyra::ui {

std::optional<std::string> importedRosterText(Toolkit& toolkit, std::string_view path) {
    const RosterImport imported = importRosterFile(FilePath(std::string(path)));
    if (imported.refusal) {
        toolkit.showMessage(*imported.refusal);
        return std::nullopt;
    }
    if (!imported.problems.empty()) {
        toolkit.showMessage(importProblemsMessage(imported.problems));
        return std::nullopt;
    }
    return formatRosterText(imported.roster);
}

void importClassFromFile(WindowSet& windows) {
    Toolkit& toolkit = windows.toolkit();
    const std::optional<std::string> path = toolkit.askOpenFile("从文件导入班级", "学生名单", "*.csv;*.txt");
    if (!path) return;
    const std::optional<std::string> text = importedRosterText(toolkit, *path);
    if (!text) return;
    // The way a teacher goes by hand: settings, then class management, each hiding its opener.
    windows.main().setFullScreen(false);
    toolkit.showWindow(windows.main().id(), false);
    windows.openSettings();
    if (SettingsWindow* settings = windows.settings()) toolkit.showWindow(settings->id(), false);
    windows.openClassManagement();
    ClassManagementWindow* management = windows.classManagement();
    if (management && management->addClass(classNameFromFile(*path))) management->fillRosterBox(*text);
}

} // namespace tallyra::ui
