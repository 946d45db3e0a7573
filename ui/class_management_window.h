// The class management window: add, edit (name and roster text), save and delete
// classes. Every change goes to the settings file and the roster files at once and
// is carried over to the settings window's class box, the current class, the roll
// call and the main window's title.
#pragma once

#include "ui/window_set.h"

namespace tallyra::ui {

extern const WindowDesign kClassManagementWindowDesign;

inline constexpr std::string_view kAddClassPrompt = "请输入您要加入的班级名称:";
inline constexpr std::string_view kAddClassTitle = "班级名称";

inline constexpr Message kClassNameEmpty{"输入有误", "班级名称不允许为空，请重试！", kErrorOk};
inline constexpr Message kClassNameWithComma{"输入有误", "班级名称不允许带有半角逗号，请重试！", kErrorOk};
// The first title is the one the program has always shown when the list holds a single class.
inline constexpr Message kClassNameTakenSingle{"班名名称重复", "发现了已有的班级名称，请更换新的名字后重试！", kErrorOk};
inline constexpr Message kClassNameTaken{"班级名称重复", "发现了已有的班级名称，请更换新的名字后重试！", kErrorOk};
inline constexpr Message kSaveNameEmpty{"班级名为空", "班级名称不能为空！", kErrorOk};
inline constexpr Message kSaveDone{"操作已完成", "操作已成功完成！", kInformationOk};

class ClassManagementWindow : public SecondaryWindow {
public:
    explicit ClassManagementWindow(WindowSet& windows) : SecondaryWindow(windows) {}

    void openClassManagement();
    void showClassRoster();
    void addClass();
    void deleteClass();
    void saveClass();

    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kClassManagementWindowDesign; }
    void onOpened() override { openClassManagement(); }
    void onClosed() override;

    std::string classBoxText() const;
    // The refusal for a name that cannot join the class list: a comma, a name
    // already listed, a name that cannot be a file of its own, a list too long.
    std::optional<Message> refuseNewName(std::string_view classList, std::string_view name) const;
    // The settings window's class box, when the settings window is open.
    WindowId settingsWindow();
};

} // namespace tallyra::ui
