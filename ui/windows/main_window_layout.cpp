// Layout of the main window (pixels at 96 DPI).
#include "ui/windows/main_window.h"

namespace tallyra::ui {
namespace {

using namespace main_units;

constexpr int kWidth = 460;
constexpr int kHeight = 434;

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("", 343)),
    row(1001, {3, 11}, shared::minimiseButton()),
    row(1002, {4, 15}, shared::closeButton(kWidth)),
    row(1003, {2}, shared::contentArea(kWidth, kHeight)),
    // The display labels keep their design fonts when rescaled; the roll call sizes the number.
    {.name = kNumber,
     .controlId = 1004,
     .kind = UnitKind::Label,
     .parent = shared::kContent,
     .rect = {7, 30, 448, 112},
     .text = "\r\n",
     .font = {.charHeight = 133},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .fit = TextFit::Shrink,
     .doubleClick = true, // full screen
     .rescale = {10}},
    {.name = kName,
     .controlId = 1005,
     .kind = UnitKind::Label,
     .parent = shared::kContent,
     .rect = {7, 147, 448, 136},
     .font = {.charHeight = 107},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .fit = TextFit::Shrink,
     .doubleClick = true,
     .rescale = {9}},
    row(1006, {7}, shared::buttonFrame(kStartStopFrame, shared::kContent, 60, 304, 167, 73)),
    row(1007, {5, 18}, shared::framedButton(kStartStop, kStartStopFrame, 165, 71, "开始")),
    row(1008, {8}, shared::buttonFrame(kSettingsFrame, shared::kContent, 226, 304, 167, 73)),
    row(1009, {6, 18}, shared::framedButton(kSettingsButton, kSettingsFrame, 165, 71, "设置")),
    {.name = kRollTimer,
     .controlId = 1010,
     .kind = UnitKind::Timer,
     .parent = shared::kContent,
     .rect = {415, 40, 26, 26},
     .visible = false},
    // Below the buttons, where nothing else is; empty until a class is loaded.
    {.name = kRoundCount,
     .controlId = 1012,
     .kind = UnitKind::Label,
     .parent = shared::kContent,
     .rect = {60, 380, 333, 18},
     .font = {.charHeight = 12},
     .textColor = rgb(0x999999),
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center,
     .rescale = {11, 9}},
    {.name = kFeedbackLabel,
     .controlId = 1011,
     .kind = UnitKind::Label,
     .parent = shared::kContent,
     .rect = {407, 72, 40, 24},
     .visible = false},
};

} // namespace

const WindowDesign kMainWindowDesign{.name = "MainWindow",
                                     .caption = "Tallyra",
                                     .width = kWidth,
                                     .height = kHeight,
                                     .background = kTitleBlue,
                                     .units = kUnits};

} // namespace tallyra::ui
