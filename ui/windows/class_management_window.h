// The class management window: add, edit (name and roster text), save and delete
// classes. Every change goes to the settings file and the roster files at once and
// is carried over to the settings window's class box, the current class, the roll
// call and the main window's title.
#pragma once

#include "storage/classes.h"
#include "storage/roster.h"
#include "ui/windows/secondary_window.h"

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
    // The ＋ flow; the input box holds the proposed name. True when the class was added.
    bool addClass(std::string_view proposed = {});
    // The roster box takes this text (a roster from a file); only 保存 writes it.
    void fillRosterBox(std::string_view text);
    void deleteClass();
    void saveClass();

    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;
    // A file dropped on the roster box of the class shown replaces the box's text.
    void onFileDropped(WindowId window, std::string_view unit, std::string_view path) override;

private:
    const WindowDesign& design() const override { return kClassManagementWindowDesign; }
    void onOpened() override {
        openClassManagement();
        toolkit_.acceptFileDrops(window_, class_management_units::kRosterBox);
    }
    void onClosed() override;

    // The class at the box's selection, as read from the list; index -1 when none is chosen.
    classes::ShownClass shownClass() const;
    // Fills the class box from the list as stored now, choosing `select` when it is still listed,
    // else the current class.
    void fillClassBox(std::string_view select);
    void showRoster(const ClassRoster& roster);
    void showNoClass();
    // Tells the teacher; when the class was gone, both class boxes show the list as it now is.
    void showFailure(const classes::Result& result, std::string_view select = {});

    // The names in the class box, as read from the list (the box may show a name cut short).
    std::vector<std::string> classes_;
    // The roster the roster box was last filled with: a save checks it is still the stored one.
    ClassRoster shownRoster_;
};

} // namespace tallyra::ui
