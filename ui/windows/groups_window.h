// Random groups: the students present today split into a number of groups, or into
// groups of a given size, shown side by side; 重新分组 deals again and 复制 puts
// them on the clipboard as Tab-separated columns for a spreadsheet or a chat. The
// round and the record are not touched.
#pragma once

#include "draw/groups.h"
#include "ui/windows/full_screen.h"
#include "ui/windows/secondary_window.h"

#include <string>
#include <vector>

namespace tallyra::ui {

extern const WindowDesign kGroupsWindowDesign;

namespace groups_units {
inline constexpr std::string_view kByCount = "byCountRadio";
inline constexpr std::string_view kBySize = "bySizeRadio";
inline constexpr std::string_view kNumberBox = "groupNumberBox";
inline constexpr std::string_view kRegroupButton = "regroupButton";
inline constexpr std::string_view kCopyButton = "copyGroupsButton";
inline constexpr int kColumns = 8;
// The columns the groups are shown in, side by side: "groupColumn0"...
std::string_view column(int index);
} // namespace groups_units

// Tab-separated text, one group per column under its heading, lines ending CR LF.
std::string groupsAsTable(const std::vector<std::vector<std::string>>& groups);

class GroupsWindow : public SecondaryWindow {
public:
    explicit GroupsWindow(WindowSet& windows);
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;
    void onKey(WindowId window, Key key, KeyAction action) override;

private:
    const WindowDesign& design() const override { return kGroupsWindowDesign; }
    void onOpened() override;
    void onClosed() override;
    void regroup();
    void showGroups();

    GroupDealer dealer_;
    std::vector<std::vector<std::string>> groups_; // "07 张三" by group
    FullScreen fullScreen_;
};

} // namespace tallyra::ui
