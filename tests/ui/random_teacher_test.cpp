// A random teacher: the real windows on the in-memory toolkit, driven by random
// actions on whatever the windows show (a click on any visible unit of the
// visible window, a choice in a combo box, text typed into an edit box, keys,
// timer ticks), with answers to message boxes and input boxes drawn from hostile
// sets: commas, tabs, blanks at the ends, case variants of listed names, device
// names, very long texts, characters outside GBK, empty input, Cancel. The driver
// knows no unit by name: it reads the units from the windows' layout tables.
//
// After every action: every listed class has its roster file, nothing outside the
// Data folder was touched, the roll call holds the current class's roster, and a
// draw shows only students of it. A failing sequence is shortened and printed, so
// it can become a fixed test. TALLYRA_RANDOM_TEACHER_ACTIONS and
// TALLYRA_RANDOM_TEACHER_SEED run more actions or another sequence.
#include "storage/pick_record.h"
#include "storage/lists.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"
#include "tests/ui/window_fixture.h"

#include <cstdlib>
#include <random>
#include <set>

namespace tallyra::ui {
namespace {

using tallyra::testing::ProgramFolder;
using testing::MemoryToolkit;
using testing::UnitState;
using testing::WindowState;

#ifdef _WIN32
// Fewer under Wine, where case variants and device names name one file; enough that the
// many menu items of the main window still leave room for saves among the actions.
constexpr int kDefaultActions = 1000;
#else
constexpr int kDefaultActions = 2000;
#endif

int fromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// One action, by window design name and unit name, so a sequence can be replayed
// (an action whose window or unit is not there at replay does nothing).
struct Action {
    enum Kind { Click, Link, Choose, Type, Tick, KeyPress, Restart } kind = Click;
    std::string window;
    std::string unit;
    int index = 0; // item to choose, or the key
    std::string text;
    std::vector<MessageAnswer> answers;             // to the message boxes it opens, in order
    std::vector<std::optional<std::string>> inputs; // to the input boxes it opens; nothing is Cancel
};

std::string shown(std::string_view text) {
    std::string out = "\"";
    for (char c : text.substr(0, 40)) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + (text.size() > 40 ? "…(" + std::to_string(text.size()) + " bytes)\"" : "\"");
}

std::string describe(const Action& action) {
    static const char* kinds[] = {"click", "press link", "choose", "type", "tick", "key", "restart the program"};
    std::string out = std::string(kinds[action.kind]) + " " + action.window + "/" + action.unit;
    if (action.kind == Action::Choose || action.kind == Action::KeyPress) out += " #" + std::to_string(action.index);
    if (action.kind == Action::Type) out += " " + shown(action.text);
    for (const auto& input : action.inputs)
        out += input ? " input " + shown(*input) : " input Cancel";
    for (MessageAnswer answer : action.answers)
        out += " answer " + std::to_string(static_cast<int>(answer));
    return out;
}

const std::vector<std::string> kHostileNames = {
    "一班",
    "二班",
    "A班",
    "a班",
    "Ａ班",
    "ａ班",
    "Σ班",
    "σ班",
    "高一班",
    "CON",
    "con.txt",
    "COM1",
    "LPT¹",
    "NUL .a",
    "Config",
    "cONFIG",
    " 一班",
    "一班 ",
    "一班.",
    "a,b",
    "a/b",
    "a\\b",
    "../x",
    "..",
    "\t",
    "",
    "😀班",
    "𠀀班",
    "名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名名"
    "名名名", // 60
};

std::vector<std::string> hostileRosters() {
    std::string longRoster;
    for (int i = 0; i < 2100; ++i)
        longRoster += std::to_string(i) + "\t张三\r\n";
    return {"1\t张三\r\n2\t李四\r\n",
            "1\t张三,李四\r\n",
            " 1\t 张三 \r\n",
            "\t李四\r\n1\t张三\r\n",
            "1\t张三\t\r\n",
            "1\t\t\r\n",
            "",
            "1 张三",
            "1\t😀\r\n2\t𠀀\r\n",
            "1\t张\r三\r\n",
            "007\t王五",
            "\t\t",
            "1\t张三\n2\t李四",
            longRoster};
}

// Names and rosters a teacher types every day, so that the run also gets far.
const char* const kPlainNames[] = {"一班", "二班", "三班", "高一(3)班", "初二班", "A班", "郑皓博班"};

std::string validRoster(std::mt19937& random) {
    // A character outside GBK only where the system can store one (not under Wine).
    static const char* const names[] = {"张三", "李四", "王五", "郑皓博", "瑜班长", storesAsItself("𠀀") ? "𠀀" : "亍",
                                        "Anna"};
    std::string text;
    const int rows = 1 + static_cast<int>(random() % 5);
    for (int i = 1; i <= rows; ++i)
        text += std::to_string(random() % 40) + "\t" + names[random() % std::size(names)] + "\r\n";
    return text;
}

// A case variant of a listed class: what Windows takes for the same file.
std::string caseVariant(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return name;
}

class Session {
public:
    explicit Session(DataFolder data) : data_(std::move(data)) { start(); }

    void start() {
        windows_.reset();
        toolkit_ = std::make_unique<MemoryToolkit>();
        rollCall_ = std::make_unique<RollCall>();
        windows_ = std::make_unique<WindowSet>(*toolkit_, *rollCall_, data_, MainWindow::Services{});
        windows_->main().open();
    }

    MemoryToolkit& toolkit() { return *toolkit_; }

    // A random action on what the windows show now.
    Action randomAction(std::mt19937& random) {
        const auto pick = [&](auto size) { return static_cast<std::size_t>(random() % size); };
        Action action;
        for (int i = 0; i < 3; ++i) {
            const MessageAnswer answers[] = {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes,
                                             MessageAnswer::No};
            action.answers.push_back(answers[pick(4)]);
        }
        const std::vector<std::string> listed = splitList(settings::classList(data_), ",");
        if (pick(8) == 0)
            action.inputs.push_back(std::nullopt);
        else if (!listed.empty() && pick(4) == 0)
            action.inputs.push_back(caseVariant(listed[pick(listed.size())]));
        else if (pick(2) == 0)
            action.inputs.push_back(kPlainNames[pick(std::size(kPlainNames))]);
        else
            action.inputs.push_back(kHostileNames[pick(kHostileNames.size())]);

        if (toolkit_->exitCode || pick(200) == 0) {
            action.kind = Action::Restart;
            return action;
        }
        std::vector<WindowId> visible;
        for (WindowId id : toolkit_->openWindows())
            if (toolkit_->isWindowVisible(id)) visible.push_back(id);
        // The timer rolls also while its window is hidden.
        if (pick(4) == 0 || visible.empty()) {
            for (WindowId id : toolkit_->openWindows())
                for (const auto& [name, unit] : toolkit_->window(id).units)
                    if (unit.design->kind == UnitKind::Timer && unit.interval > 0) {
                        action.kind = Action::Tick;
                        action.window = toolkit_->window(id).design->name;
                        action.unit = name;
                        return action;
                    }
            if (visible.empty()) {
                action.kind = Action::Restart;
                return action;
            }
        }
        const WindowState& window = toolkit_->window(visible[pick(visible.size())]);
        action.window = window.design->name;
        if (pick(10) == 0) {
            action.kind = Action::KeyPress;
            action.index = static_cast<int>(pick(static_cast<int>(Key::Other) + 1));
            return action;
        }
        // Any visible unit, mostly those that do something when used.
        std::vector<const UnitState*> units, controls;
        for (const auto& [name, unit] : window.units) {
            if (!unit.visible || unit.design->kind == UnitKind::Timer) continue;
            units.push_back(&unit);
            const UnitKind kind = unit.design->kind;
            if (kind != UnitKind::Label && kind != UnitKind::PictureBox && kind != UnitKind::ShapeBox)
                controls.push_back(&unit);
        }
        if (!controls.empty() && pick(10) != 0) units = controls;
        if (units.empty()) return action;
        const UnitState& unit = *units[pick(units.size())];
        action.unit = unit.design->name;
        switch (unit.design->kind) {
        case UnitKind::ComboBox:
            action.kind = Action::Choose;
            action.index = unit.items.empty() ? -1 : static_cast<int>(pick(unit.items.size()));
            break;
        case UnitKind::EditBox: {
            action.kind = Action::Type;
            static const std::vector<std::string> rosters = hostileRosters();
            if (unit.design->multiLine)
                action.text = pick(2) ? validRoster(random) : rosters[pick(rosters.size())];
            else if (!listed.empty() && pick(4) == 0)
                action.text = caseVariant(listed[pick(listed.size())]);
            else
                action.text =
                    pick(2) ? kPlainNames[pick(std::size(kPlainNames))] : kHostileNames[pick(kHostileNames.size())];
            break;
        }
        case UnitKind::Hyperlink:
            action.kind = Action::Link;
            break;
        default:
            action.kind = Action::Click;
            break;
        }
        return action;
    }

    void perform(const Action& action) {
        toolkit_->answers.assign(action.answers.begin(), action.answers.end());
        toolkit_->inputs.assign(action.inputs.begin(), action.inputs.end());
        if (action.kind == Action::Restart) {
            start();
            return;
        }
        const WindowId window = toolkit_->find(action.window);
        if (window == kNoWindow) return;
        if (action.kind == Action::KeyPress) {
            toolkit_->key(window, static_cast<Key>(action.index), KeyAction::Pressed);
            toolkit_->key(window, static_cast<Key>(action.index), KeyAction::Released);
            return;
        }
        const auto& units = toolkit_->window(window).units;
        const auto unit = units.find(action.unit);
        if (unit == units.end()) return;
        switch (action.kind) {
        case Action::Click:
            toolkit_->click(window, action.unit);
            break;
        case Action::Link:
            toolkit_->pressLink(window, action.unit);
            break;
        case Action::Choose:
            if (action.index < static_cast<int>(unit->second.items.size()))
                toolkit_->choose(window, action.unit, action.index);
            break;
        case Action::Type:
            toolkit_->setText(window, action.unit, action.text);
            break;
        case Action::Tick:
            toolkit_->tick(window, action.unit);
            break;
        default:
            break;
        }
    }

    // The first property the files or the windows break, if any.
    std::optional<std::string> brokenProperty(const Action& action, const std::filesystem::path& programFolder) {
        const std::vector<std::string> listed = splitList(settings::classList(data_), ",");
        for (const std::string& name : listed)
            if (!std::filesystem::is_regular_file(toFsPath(data_.rosterFile(name))))
                return "the listed class " + shown(name) + " has no roster file";
        for (const auto& entry : std::filesystem::directory_iterator(programFolder))
            if (entry.path().filename() != "Data") return "a file outside Data";
        for (const auto& entry : std::filesystem::directory_iterator(toFsPath(data_.path()))) {
            const std::u8string utf8 = entry.path().filename().u8string(); // string() may throw on Windows
            const std::string name(utf8.begin(), utf8.end());
            const bool kept = name.ends_with(".conf") || name.ends_with(".round") || name.ends_with(".absent") ||
                              name == kPickRecordFileName;
            if (!entry.is_regular_file() || !kept)
                return "Data holds something that is no settings, roster, round or record file: " + name;
        }
        const std::string current = settings::currentClass(data_);
        if (!current.empty() && std::find(listed.begin(), listed.end(), current) != listed.end() &&
            rollCall_->roster() != readRoster(data_, current))
            return "the roll call does not hold the roster of the current class " + shown(current);
        // Draws come only from the pool, and the pool holds only positions of the roster.
        const RollCall& rollCall = *rollCall_;
        for (std::int32_t position : rollCall.drawPool())
            if (position < 1 || static_cast<std::size_t>(position) > rollCall.roster().size())
                return "the pool holds position " + std::to_string(position) + " of a roster of " +
                       std::to_string(rollCall.roster().size());
        // A tick on an empty pool (the roster emptied while rolling) stops the roll and picks nothing.
        if (action.kind == Action::Tick && !rollCall.drawPool().empty() &&
            (rollCall.lastPick() < 1 || static_cast<std::size_t>(rollCall.lastPick()) > rollCall.drawPool().size()))
            return "a tick picked pool place " + std::to_string(rollCall.lastPick()) + " of " +
                   std::to_string(rollCall.drawPool().size());
        return std::nullopt;
    }

private:
    std::unique_ptr<MemoryToolkit> toolkit_;
    std::unique_ptr<RollCall> rollCall_;
    std::unique_ptr<WindowSet> windows_;
    DataFolder data_;
};

// Replays the actions in a fresh program folder; stops at the first broken property.
std::optional<std::string> replay(const std::vector<Action>& actions) {
    ProgramFolder folder;
    folder.prepare("", "");
    Session session(folder.data());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        try {
            session.perform(actions[i]);
        } catch (const std::exception& error) {
            return "action " + std::to_string(i + 1) + " threw: " + error.what();
        }
        if (auto broken = session.brokenProperty(actions[i], folder.path()))
            return "after action " + std::to_string(i + 1) + ": " + *broken;
    }
    return std::nullopt;
}

// Drops actions while the sequence still breaks a property: chunks first, then one by one.
std::vector<Action> shorten(std::vector<Action> actions) {
    for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= actions.size();) {
            std::vector<Action> fewer = actions;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(start),
                        fewer.begin() + static_cast<std::ptrdiff_t>(start + chunk));
            if (replay(fewer))
                actions = std::move(fewer);
            else
                start += chunk;
        }
    }
    return actions;
}

TEST(RandomTeacher, NothingIsLostWhateverTheTeacherDoes) {
    const int count = fromEnvironment("TALLYRA_RANDOM_TEACHER_ACTIONS", kDefaultActions);
    // A seed whose actions include saves both natively and under Wine, where the
    // same names can meet other refusals (case variants and device names).
    const auto seed = static_cast<std::uint32_t>(fromEnvironment("TALLYRA_RANDOM_TEACHER_SEED", 7));
    std::mt19937 random(seed);

    std::vector<Action> actions;
    std::optional<std::string> broken;
    {
        ProgramFolder folder;
        folder.prepare("", "");
        Session session(folder.data());
        std::set<std::string> everListed;
        std::size_t mostListed = 0, saves = 0, refusals = 0;
        for (int i = 0; i < count && !broken; ++i) {
            actions.push_back(session.randomAction(random));
            try {
                session.perform(actions.back());
                broken = session.brokenProperty(actions.back(), folder.path());
            } catch (const std::exception& error) {
                broken = std::string("an action threw: ") + error.what();
            }
            if (std::getenv("TALLYRA_RANDOM_TEACHER_LIST")) {
                std::printf("%s\n", describe(actions.back()).c_str());
                for (const Message& message : session.toolkit().messages)
                    std::printf("    -> %s\n", std::string(message.title).c_str());
            }
            for (const Message& message : session.toolkit().messages) {
                saves += message.title == kSaveDone.title;
                refusals += (message.flags & 0xF0) == kErrorOk;
            }
            session.toolkit().messages.clear();
            const std::vector<std::string> listed = splitList(settings::classList(folder.data()), ",");
            everListed.insert(listed.begin(), listed.end());
            mostListed = std::max(mostListed, listed.size());
        }
        // What the run reached, so that a change that makes it reach less shows.
        std::printf("%zu random actions (seed %u): %zu class names listed at some time, at most %zu at once, "
                    "%zu saves, %zu refusals\n",
                    actions.size(), seed, everListed.size(), mostListed, saves, refusals);
        if (!broken) {
            EXPECT_GE(everListed.size(), 2u);
            EXPECT_GT(saves, 0u);
        }
    }
    if (!broken) return;
    const std::vector<Action> shortest = shorten(actions);
    std::string steps;
    for (std::size_t i = 0; i < shortest.size(); ++i)
        steps += "\n  " + std::to_string(i + 1) + ". " + describe(shortest[i]);
    ADD_FAILURE() << *broken << " (seed " << seed << ", action " << actions.size() << ")\nshortened to "
                  << shortest.size() << " actions:" << steps << "\n  -> " << replay(shortest).value_or("passes");
}

} // namespace
} // namespace tallyra::ui
