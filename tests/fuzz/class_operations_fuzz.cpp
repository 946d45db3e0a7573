// Whole class operations from two copies of the program on one Data folder, each
// with a window state of its own that the other's work makes out of date, while
// reads, writes and deletes fail at random. After every operation: every class
// listed has a roster file that reads; every success is on disk as reported;
// every failure is reported, and no row a copy was told was saved is lost.
// Both copies also draw from one class: unless a failure was told, nobody is drawn
// twice in a round by the two together, and every pick is in the round file after both close.
#include "draw/round_keeper.h"
#include "storage/class_list.h"
#include "storage/classes.h"
#include "storage/lists.h"
#include "storage/platform/file_system.h"
#include "storage/settings.h"
#include "storage/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/fake_main_window.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>

namespace {

using namespace tallyra;

// What one copy's class management window shows: the list when it last read it,
// the chosen item and the roster its box was filled with.
struct Window {
    std::vector<std::string> classes;
    int selected = -1;
    ClassRoster roster;

    void reload(const DataFolder& data) {
        classes = classes::readListing(data).classes;
        selected = classes.empty() ? -1 : 0;
        roster = selected < 0 ? ClassRoster{} : readRoster(data, classes[0]);
    }
    classes::ShownClass shown() const {
        return selected < 0 ? classes::ShownClass{}
                            : classes::ShownClass{selected, classes[static_cast<std::size_t>(selected)]};
    }
};

const char* const kNames[] = {"一班", "二班", "A班", "a班", "三班", "Config", "四,班", ""};

std::string rosterText(FuzzedDataProvider& input, ClassRoster& parsed) {
    std::string text;
    const int rows = input.ConsumeIntegralInRange(0, 3);
    for (int row = 0; row < rows; ++row) {
        const std::string number = std::to_string(input.ConsumeIntegralInRange(0, 99));
        std::string name = input.ConsumeBool() ? "张" + number : input.ConsumeRandomLengthString(4);
        if (!isValidUtf8(name)) name = "某"; // the roster box holds UTF-8 only
        text += number + "\t" + name + "\r\n";
    }
    parsed = parseRosterText(text).roster;
    return text;
}

// Each file operation of the next class operation fails when its count comes up.
struct Faults {
    int failRead = -1, failWrite = -1, failDelete = -1;
    int reads = 0, writes = 0, deletes = 0;
    void install() {
        platform::setReadFailureHook([this](const FilePath&) { return reads++ == failRead; });
        platform::setReplaceFailureHook([this](const FilePath&) { return writes++ == failWrite; });
        platform::setDeleteFailureHook([this](const FilePath&) { return deletes++ == failDelete; });
    }
    static void remove() {
        platform::setReadFailureHook({});
        platform::setReplaceFailureHook({});
        platform::setDeleteFailureHook({});
    }
};

// Every file of the folder that holds a roster, by its bytes' students.
std::vector<ClassRoster> rostersOnDisk(const DataFolder& data) {
    std::vector<ClassRoster> found;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::scratch().data())) {
        std::string name = entry.path().filename().string();
        if (!name.ends_with(".conf") || name == "Config.conf") continue;
        found.push_back(readRoster(data, name.substr(0, name.size() - 5)));
    }
    return found;
}

// One running copy drawing from the class the class operations never touch.
constexpr std::string_view kDrawnClass = "五班";

// It listens to its roll call as the class session does: the round file read again
// at every Start, each settled pick kept, then what failed told.
struct DrawingCopy : PickListener {
    testing::FakeMainWindow window;
    RollCall rollCall;
    RoundKeeper keeper;

    DrawingCopy(const DataFolder& data, const ClassRoster& roster) : keeper(rollCall, window, data) {
        rollCall.setListener(this);
        keeper.loadClass(kDrawnClass, roster, RoundKeeper::Reason::StartUp);
    }
    ~DrawingCopy() override { rollCall.setListener(nullptr); }
    void onSettled(const SettledPick& pick) override {
        for (const Message& failure : keeper.keepPick(pick))
            window.showMessage(failure);
    }
    void onRoundReset() override { keeper.roundReset(); }
    void onRollStarting() override { keeper.syncRound(); }
    // Start, one tick, Stop: the student settled on, if a roll ran; newRound when the
    // round-end question was answered Yes.
    std::optional<std::string> drawOne(bool yes, bool& newRound) {
        window.answer = yes ? MessageAnswer::Yes : MessageAnswer::No;
        const std::size_t before = window.shown.size();
        rollCall.pressStartStop(window);
        newRound = yes && window.shown.size() > before && window.shown[before] == kRoundOverQuestion;
        if (!rollCall.isRolling()) return std::nullopt;
        rollCall.rollTick(window);
        rollCall.pressStartStop(window);
        return window.name;
    }
    // A box other than the round-end question was shown.
    bool told() const {
        return std::any_of(window.shown.begin(), window.shown.end(),
                           [](auto& m) { return !(m == kRoundOverQuestion); });
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    fuzz::scratch().clear();
    const DataFolder data = fuzz::scratch().dataFolder();
    FUZZ_REQUIRE(settings::prepareFirstRun(data) == settings::FirstRun::Prepared);
    Window windows[2];
    std::map<std::string, ClassRoster> saved; // every roster a copy was told is saved, by class

    ClassRoster six;
    for (int i = 1; i <= 6; ++i) {
        six.numbers.push_back(std::to_string(i));
        six.names.push_back("生" + std::to_string(i));
    }
    std::unique_ptr<DrawingCopy> copies[2];
    std::set<std::string> round; // the picks of the round
    bool anyTold = false;        // a copy was told a failure: from then on a failure may repeat untold

    for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
        Window& window = windows[input.ConsumeIntegralInRange(0, 1)];
        if (input.ConsumeBool()) window.reload(data);
        if (!window.classes.empty() && input.ConsumeBool())
            window.selected = input.ConsumeIntegralInRange(0, static_cast<int>(window.classes.size()) - 1);
        Faults faults;
        if (input.ConsumeIntegralInRange(0, 3) == 0) {
            faults.failRead = input.ConsumeIntegralInRange(0, 4);
            faults.failWrite = input.ConsumeIntegralInRange(0, 4);
            faults.failDelete = input.ConsumeIntegralInRange(0, 1);
        }
        const std::string name = kNames[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
        const std::string before = classes::readListing(data).list;
        const classes::ShownClass shown = window.shown();
        ClassRoster parsed;
        classes::Result result;
        faults.install();
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 4:
        case 5: // a few picks, the copies taking turns
            for (int turn = input.ConsumeIntegralInRange(0, 3), which = turn & 1; turn >= 0; --turn, which ^= 1) {
                const bool yes = input.ConsumeBool();
                if (!copies[which]) copies[which] = std::make_unique<DrawingCopy>(data, six);
                bool newRound = false;
                const std::optional<std::string> pick = copies[which]->drawOne(yes, newRound);
                if (newRound) round.clear();
                for (const auto& copy : copies)
                    anyTold = anyTold || (copy && copy->told());
                if (!pick) continue;
                if (!anyTold) FUZZ_REQUIRE(round.count(*pick) == 0); // never twice in a round
                round.insert(*pick);
            }
            Faults::remove();
            continue;
        case 0:
            result = classes::addClass(data, name, input.ConsumeBool());
            Faults::remove();
            if (result.done()) {
                const auto listed = classes::readListing(data).classes;
                FUZZ_REQUIRE(std::find(listed.begin(), listed.end(), name) != listed.end());
                saved[name] = result.roster;
            }
            break;
        case 1: {
            if (shown.index < 0) break;
            const std::string newName = input.ConsumeBool() ? shown.name : name;
            const std::string text = rosterText(input, parsed);
            result = classes::saveClass(data, shown, newName, text, window.roster, input.ConsumeBool());
            Faults::remove();
            if (result.done()) {
                FUZZ_REQUIRE(readRoster(data, newName) == result.roster && result.roster.size() == parsed.size());
                saved[newName] = result.roster;
                window.roster = result.roster;
            } else if (result.outcome == classes::Outcome::Failed && readRoster(data, newName) == parsed) {
                saved[newName] = parsed; // told it failed, but the roster itself got through
            } else if (result.outcome == classes::Outcome::RosterChanged) {
                window.roster = result.roster;
            }
            break;
        }
        case 2:
            if (shown.index < 0) break;
            result = classes::deleteClass(data, shown);
            Faults::remove();
            if (result.done()) {
                saved.erase(shown.name);
                const auto listed = classes::readListing(data).classes;
                FUZZ_REQUIRE(std::find(listed.begin(), listed.end(), shown.name) == listed.end());
            }
            break;
        default:
            if (shown.index < 0) break;
            result = classes::chooseClass(data, shown);
            Faults::remove();
            if (result.done()) FUZZ_REQUIRE(settings::currentClass(data) == shown.name);
            break;
        }
        Faults::remove();

        // Every failure is told; a refusal or an out-of-date window writes nothing.
        FUZZ_REQUIRE(result.done() || result.message.has_value());
        if (result.outcome == classes::Outcome::Refused || result.outcome == classes::Outcome::ClassGone ||
            result.outcome == classes::Outcome::RosterChanged)
            FUZZ_REQUIRE(classes::readListing(data).list == before);
        if (result.outcome == classes::Outcome::ClassGone) window.reload(data);

        // Every listed class has a roster file that reads.
        const classes::Listing listing = classes::readListing(data);
        FUZZ_REQUIRE(!listing.failure);
        for (const std::string& listed : listing.classes)
            if (isOwnRosterFileName(listed)) FUZZ_REQUIRE(loadRoster(data, listed).state == ReadState::Read);
        // No roster a copy was told is saved is lost: it is in some file, listed or left behind.
        const std::vector<ClassRoster> onDisk = rostersOnDisk(data);
        for (auto it = saved.begin(); it != saved.end();) {
            const bool listed =
                std::find(listing.classes.begin(), listing.classes.end(), it->first) != listing.classes.end();
            if (!listed) {
                it = saved.erase(it);
                continue;
            } // deleted or renamed by a later success
            FUZZ_REQUIRE(std::find(onDisk.begin(), onDisk.end(), it->second) != onDisk.end());
            ++it;
        }
    }
    // Both copies close: every pick of the round is in the round file.
    for (auto& copy : copies)
        copy.reset();
    Faults::remove();
    const std::vector<std::string> inFile = readRoundFile(data, kDrawnClass).students.names;
    for (const std::string& name : round)
        FUZZ_REQUIRE(anyTold || std::find(inFile.begin(), inFile.end(), name) != inFile.end());
    return 0;
}
