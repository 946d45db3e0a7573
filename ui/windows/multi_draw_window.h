// Several students at once: the number to draw, Start/Stop, and one slot per
// student laid out as a grid whose text takes the largest size that fits, also in
// full screen (F11). Stop settles every slot together: the round and the record
// change once for the whole draw, and the announcement reads them in order.
#pragma once

#include "draw/multi_draw.h"
#include "ui/windows/full_screen.h"
#include "ui/windows/secondary_window.h"

#include <vector>

namespace tallyra::ui {

const WindowDesign& multiDrawWindowDesign();

namespace multi_draw_units {
inline constexpr std::string_view kCountBox = "drawCountBox";
inline constexpr std::string_view kStartStop = "multiStartStopButton";
inline constexpr std::string_view kTimer = "multiRollTimer";
inline constexpr int kMaxSlots = 60;
// The slots, "slot00"...
std::string_view slot(int index);
} // namespace multi_draw_units

// "本轮只剩 N 名学生尚未抽到…": the round-end question when fewer are left than slots.
std::string fewLeftQuestion(std::size_t left);

// Columns of the grid for n slots in an area, so that a slot's line is as large as it can be.
int gridColumns(int slots, Size area, int lineEms);

class MultiDrawWindow : public SecondaryWindow {
public:
    explicit MultiDrawWindow(WindowSet& windows);
    void onUnitEvent(WindowId window, std::string_view unit, UnitEvent event) override;
    void onKey(WindowId window, Key key, KeyAction action) override;

    bool isRolling() const { return rolling_; }

private:
    const WindowDesign& design() const override { return multiDrawWindowDesign(); }
    void onOpened() override;
    void onClosed() override;
    void pressStartStop();
    void start();
    void stop();
    void show(const std::vector<std::size_t>& positions);
    void layOut();

    MultiDraw draw_;
    FullScreen fullScreen_;
    bool rolling_ = false;
    std::size_t slots_ = 0;
    std::vector<std::string> lines_; // what the slots may show in this roll
};

} // namespace tallyra::ui
