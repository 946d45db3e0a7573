#include "ui/windows/round_menu.h"

#include "storage/settings.h"

namespace tallyra::ui {

void addRoundMenuItems(WindowSet& windows) {
    MainWindow& main = windows.main();
    Toolkit& toolkit = windows.toolkit();
    const auto hasStudents = [&windows] { return windows.rollCall().roster().size() > 0; };
    // A secondary window hides the main window, as the settings button does.
    const auto openInstead = [&windows, &main](void (WindowSet::*open)()) {
        main.hideForWindow();
        (windows.*open)();
    };
    main.menu().add([] { return std::string("今天缺席的学生…"); },
                    [openInstead] { openInstead(&WindowSet::openAbsence); }, {}, hasStudents);
    main.menu().add("点名记录…", [openInstead] { openInstead(&WindowSet::openRecord); });
    main.menu().add(
        [] { return std::string("开始新一轮抽取"); },
        [&windows, &main, &toolkit] {
            if (windows.rollCall().isRolling() || toolkit.showMessage(kNewRoundQuestion) != MessageAnswer::Yes) return;
            windows.session().startNewRound();
            main.showRoundCount();
        },
        {}, [&windows, hasStudents] { return hasStudents() && !windows.rollCall().isRolling(); });
    const DataFolder& data = windows.data();
    main.menu().add([] { return std::string("每次启动或选择班级时重新开始一轮"); },
                    [&data, &toolkit] {
                        if (!settings::setNewRoundEachStart(data, !settings::newRoundEachStart(data)))
                            toolkit.showMessage(kDataNotSaved);
                    },
                    [&data] { return settings::newRoundEachStart(data); });
}

} // namespace tallyra::ui
