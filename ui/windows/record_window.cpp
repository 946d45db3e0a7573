#include "ui/windows/record_window.h"

#include "ui/windows/window_set.h"
#include "ui/windows/round_summary.h"

#include "storage/pick_record_summary.h"
#include "storage/student_marks.h"

namespace tallyra::ui {
namespace {

using namespace record_units;

constexpr int kWidth = 460;
constexpr int kHeight = 434;

constexpr UnitDesign kUnits[] = {
    row(1000, {1, 11}, shared::titleLabel("点名记录", 343)),
    row(1001, {4, 15}, shared::closeButton(kWidth)),
    row(1002, {2}, shared::contentArea(kWidth, kHeight)),
    {.name = kRecordBox,
     .controlId = 1003,
     .kind = UnitKind::EditBox,
     .parent = shared::kContent,
     .rect = {14, 12, 430, 318},
     .font = {.charHeight = 16},
     .tabStop = true,
     .multiLine = true,
     .readOnly = true,
     .rescale = {3, 12}},
    row(1004, {5}, shared::buttonFrame(kOpenFrame, shared::kContent, 14, 344, 157, 40)),
    row(1005, {6, 12}, shared::framedButton(kOpenButton, kOpenFrame, 155, 38, "打开记录文件", 16)),
};

} // namespace

const WindowDesign kRecordWindowDesign{.name = "RecordWindow",
                                       .caption = "点名记录",
                                       .width = kWidth,
                                       .height = kHeight,
                                       .background = kTitleBlue,
                                       .canMinimise = false,
                                       .units = kUnits};

std::string recordNotOpenedText(std::string_view path) {
    return "系统中没有能打开点名记录文件的程序。该文件保存在：\r\n" + std::string(path);
}

void RecordWindow::onOpened() {
    rescaleForDpi();
    const std::vector<Pick> waiting = windows_.session().record().waitingPicks();
    toolkit_.setText(window_, kRecordBox,
                     recordWindowText(windows_.data(), waiting, windows_.session().className(),
                                      windows_.rollCall().roster(), todayText()) +
                         "\r\n" + roundSummary(windows_.rollCall()));
}

void RecordWindow::onUnitEvent(WindowId, std::string_view unit, UnitEvent event) {
    if (event != UnitEvent::Clicked) return;
    if (unit == kOpenButton) {
        const std::string path = pickRecordPath(windows_.data()).utf8();
        if (!pickRecordExists(windows_.data())) {
            toolkit_.showMessage(kNoRecordYet);
        } else if (!toolkit_.openFile(path)) {
            const std::string text = recordNotOpenedText(path);
            toolkit_.showMessage({kNotOpenedTitle, text, kWarningOk});
        }
    } else if (unit == shared::kCloseButton) {
        windows_.showMain();
        toolkit_.destroyWindow(window_);
    }
}

void RecordWindow::onClosed() {
    windows_.showMain();
}

} // namespace tallyra::ui
