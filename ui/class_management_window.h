// The class management window: add, edit (name and roster text), save and delete
// classes. Every change goes to the settings file and the roster files at once and
// is carried over to the settings window's class box, the current class, the roll
// call and the main window's title.
#pragma once

#include "storage/roster.h"
#include "ui/secondary_window.h"

namespace tallyra::ui {

extern const WindowDesign kClassManagementWindowDesign;

// The class management window's units, besides the shared title bar and content area.
namespace class_management_units {
inline constexpr std::string_view kClassLabel = "classLabel";
inline constexpr std::string_view kClassBox = "classBox";
inline constexpr std::string_view kAddFrame = "addFrame";
inline constexpr std::string_view kAddButton = "addButton";
inline constexpr std::string_view kNameLabel = "nameLabel";
inline constexpr std::string_view kNameFrame = "nameFrame";
inline constexpr std::string_view kNameBox = "nameBox";
inline constexpr std::string_view kRosterLabel = "rosterLabel";
inline constexpr std::string_view kRosterFrame = "rosterFrame";
inline constexpr std::string_view kRosterBox = "rosterBox";
inline constexpr std::string_view kSaveFrame = "saveFrame";
inline constexpr std::string_view kSaveButton = "saveButton";
inline constexpr std::string_view kDeleteFrame = "deleteFrame";
inline constexpr std::string_view kDeleteButton = "deleteButton";
// Covers the editing area while no class is chosen.
inline constexpr std::string_view kNoClassOverlay = "noClassOverlay";
} // namespace class_management_units

inline constexpr std::string_view kAddClassPrompt = "请输入您要加入的班级名称:";
inline constexpr std::string_view kAddClassTitle = "班级名称";

inline constexpr Message kClassNameEmpty{"输入有误", "班级名称不允许为空，请重试！", kErrorOk};
inline constexpr Message kSaveNameEmpty{"班级名为空", "班级名称不能为空！", kErrorOk};
inline constexpr Message kSaveDone{"操作已完成", "操作已成功完成！", kInformationOk};
// One misclick on "删除班级", right beside "保存", must not delete a roster for good.
inline constexpr std::string_view kDeleteClassTitle = "删除班级";
std::string deleteClassQuestion(std::string_view className);
inline constexpr unsigned kDeleteClassFlags = kQuestionYesNo | kSecondButtonDefault;

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
    // Shows the message of a failed write; false, so that a handler can stop with `return writeFailed();`.
    bool writeFailed();
    bool saveUnderNewName(int selected, const std::string& oldName, const std::string& newName,
                          const ClassRoster& roster);
    static std::optional<Message> refuseRename(std::string_view classList, std::string_view oldName,
                                               std::string_view newName);
};

} // namespace tallyra::ui
