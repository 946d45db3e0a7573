// Layout of the main window (pixels at 96 DPI).
#include "ui/main_window.h"

namespace tallyra::ui {
namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 434;

constexpr UnitDesign kUnits[] = {
    shared::titleLabel("Tallyra", "", 343),
    shared::minimiseButton("按钮_最小化"),
    shared::closeButton("按钮_关闭", kWidth),
    shared::contentArea(kWidth, kHeight),
    {.name = "学号",
     .kind = UnitKind::Label,
     .parent = "外形框1",
     .rect = {7, 30, 448, 112},
     .text = "\r\n",
     .font = {.charHeight = 133},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center},
    {.name = "姓名",
     .kind = UnitKind::Label,
     .parent = "外形框1",
     .rect = {7, 147, 448, 136},
     .font = {.charHeight = 107},
     .hAlign = HAlign::Center,
     .vAlign = VAlign::Center},
    shared::buttonFrame("按钮1", "外形框1", 60, 304, 167, 73),
    shared::framedButton("开始按钮", "按钮1", 165, 71, "开始"),
    shared::buttonFrame("按钮2", "外形框1", 226, 304, 167, 73),
    shared::framedButton("其他", "按钮2", 165, 71, "设置"),
    {.name = "时钟1", .kind = UnitKind::Timer, .parent = "外形框1", .rect = {415, 40, 26, 26}, .visible = false},
    {.name = "反馈标签", .kind = UnitKind::Label, .parent = "外形框1", .rect = {407, 72, 40, 24}, .visible = false},
};

} // namespace

const WindowDesign kMainWindowDesign{.name = "MainWindow",
                                     .caption = "Tallyra",
                                     .width = kWidth,
                                     .height = kHeight,
                                     .background = kTitleBlue,
                                     .units = kUnits};

} // namespace tallyra::ui
