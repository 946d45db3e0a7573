// The roll call: the current class's roster, the pool of students not yet drawn
// this round, and the Start/Stop and tick handlers behind the main window's button.
//
// The roll call keeps whether it is rolling and sets the Start/Stop caption from
// it; the window it runs on is reached through RollCallView.
#pragma once

#include "base/message_box.h"
#include "draw/random_source.h"
#include "storage/roster.h"
#include "storage/student_marks.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyra {

inline constexpr std::string_view kStartCaption = "开始";
inline constexpr std::string_view kStopCaption = "停止";
inline constexpr int kRollIntervalMs = 10;

inline constexpr Message kNoStudentsMessage{
    "数据有误", "尚未找到合法的学号数据，可能学号数据有误或尚未添加班级，请在设置中检查！", kErrorOk};
inline constexpr Message kRoundOverQuestion{"全班已抽完", "全班均已抽完，是否开始新一轮抽取？", kQuestionYesNo};
inline constexpr Message kRestAbsentQuestion{
    "全班已抽完", "本轮尚未抽到的学生今天均缺席，是否开始新一轮抽取？", kQuestionYesNo};
inline constexpr Message kAllAbsentMessage{"无人可抽", "全班学生今天均已标记为缺席，请在菜单中修改缺席名单！",
                                           kWarningOk};

// What the roll call reads and writes on the main window.
class RollCallView : public MessageBoxes {
public:
    virtual std::string numberText() const = 0;
    virtual void setNumberText(std::string_view text) = 0;
    virtual std::string nameText() const = 0;
    virtual void setNameText(std::string_view text) = 0;
    virtual void setNumberFontSize(int points) = 0;
    virtual void setCaption(std::string_view caption) = 0;
    // 0 stops the timer; setting the interval it already has changes nothing.
    virtual void setTimerInterval(int milliseconds) = 0;
};

// A settled pick: the texts the labels show (what is announced) and, when an entry
// left the pool, its roster position and when it left (YYYY-MM-DD HH:MM:SS).
struct SettledPick {
    std::string number;
    std::string name;
    std::size_t position = 0; // 1-based; 0 when the stop removed nobody
    std::string time;
};

// Told of each settled pick, before the caption turns back to Start, and of each new round.
class PickListener {
public:
    virtual ~PickListener() = default;
    virtual void onSettled(const SettledPick& pick) = 0;
    virtual void onRoundReset() = 0;
    // Start was pressed on a roster, before the pool is looked at: the round kept on
    // disk may have changed since (another copy drew from it).
    virtual void onRollStarting() {}
};

// Point size for a number text of the given length in file bytes, or nothing
// (keep the current size) for 21 bytes and more.
std::optional<int> numberFontSize(std::size_t byteLength);

class RollCall {
public:
    explicit RollCall(RandomSource random = RandomSource());

    // Replaces the roster and refills the pool with every position, in order.
    // Leaves the last pick, the caption, the timer and the labels alone.
    void loadRoster(ClassRoster roster);
    // Replaces the roster and sets who has been drawn in this round and who is
    // absent (one flag per roster position; missing flags are false). The pool
    // holds everyone else, in roster order.
    void loadRoster(ClassRoster roster, StudentMarks drawn, StudentMarks absent);
    void setAbsent(StudentMarks absent);
    // The student at this position counts as not drawn in this round again.
    void giveBack(std::size_t position);
    // Every student becomes drawable again (the absent ones excepted).
    void startNewRound();
    // Sets who has been drawn in this round (the roster and the absences stay).
    void setDrawn(StudentMarks drawn);
    // The one listener of settled picks, new rounds and rolls starting (none: nullptr).
    void setListener(PickListener* listener) { listener_ = listener; }

    // Several students settled at once: marks them drawn without telling the listener
    // (the caller keeps the round once for all of them); with newRound a new round
    // begins first, in which the students of oldRound (the last of the old one) are not counted.
    void settleSeveral(const std::vector<std::size_t>& positions, const std::vector<std::size_t>& oldRound,
                       bool newRound);

    void pressStartStop(RollCallView& view);
    void rollTick(RollCallView& view);

    const ClassRoster& roster() const { return roster_; }
    const std::vector<std::int32_t>& drawPool() const { return pool_; }
    std::int32_t lastPick() const { return lastPick_; }
    bool isRolling() const { return rolling_; }
    const StudentMarks& drawn() const { return drawn_; }
    const StudentMarks& absent() const { return absent_; }
    std::size_t absentCount() const;
    RandomSource& random() { return random_; }

private:
    void fillPool();

    ClassRoster roster_;
    std::vector<std::size_t> numberBytes_; // file-byte length of each number, for the font size
    std::vector<std::int32_t> pool_;       // 1-based roster positions not yet drawn and not absent
    StudentMarks drawn_;                   // by roster position, 0-based
    StudentMarks absent_;
    std::int32_t lastPick_ = 0;            // 1-based position in the pool chosen by the latest tick
    RandomSource random_;
    PickListener* listener_ = nullptr;
    bool rolling_ = false;
    bool ticked_ = false; // a tick ran in this roll
};

} // namespace tallyra
