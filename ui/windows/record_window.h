// The record of picks for the current class: today's picks in order, and how
// often each student has been called in all, fewest first; a button opens the
// record file with its default program.
#pragma once

#include "ui/windows/secondary_window.h"

#include <string>
#include <string_view>

namespace tallyra::ui {

extern const WindowDesign kRecordWindowDesign;

inline constexpr Message kNoRecordYet{"点名记录", "还没有点名记录：每次抽取的结果会自动记入 Data 文件夹中的点名记录文件。",
                                      kInformationOk};

// The record could not be opened (no program for .csv): where to find it.
std::string recordNotOpenedText(std::string_view path);
inline constexpr std::string_view kNotOpenedTitle = "无法打开";

namespace record_units {
inline constexpr std::string_view kRecordBox = "recordBox";
inline constexpr std::string_view kOpenFrame = "openRecordFrame";
inline constexpr std::string_view kOpenButton = "openRecordButton";
} // namespace record_units

class RecordWindow : public SecondaryWindow {
public:
    explicit RecordWindow(WindowSet& windows) : SecondaryWindow(windows) {}
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;

private:
    const WindowDesign& design() const override { return kRecordWindowDesign; }
    void onOpened() override;
    void onClosed() override;
};

} // namespace tallyra::ui
