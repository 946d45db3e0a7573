// Whole class operations under faults, through the real windows on the in-memory
// toolkit: every file write of add class, save, save under a new name, delete
// class and choose class is made to fail in turn, and, separately, the process is
// stopped before each write lands (a forked child dies between writing the
// temporary file and renaming it). Afterwards no student row is lost, a program
// started on the files left behind reads them sensibly (title, roll call, both
// class boxes, every listed class's roster), and the teacher can bring them to
// the state the operation meant, through the windows alone.
#include "storage/lists.h"
#include "storage/platform/file_system.h"
#include "storage/settings.h"
#include "tests/ui/teacher.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>
#include <map>
#include <set>

namespace tallyra::ui {
namespace {

using tallyra::testing::ProgramFolder;
using testing::MemoryToolkit;
using testing::Program;
namespace unit = testing::unit;

// What the settings file and the listed rosters say.
struct State {
    std::string classList, current;
    std::map<std::string, ClassRoster> listed;
    friend bool operator==(const State&, const State&) = default;
};

State stateNow(const DataFolder& data) {
    State state{settings::classList(data), settings::currentClass(data), {}};
    for (const std::string& name : splitList(state.classList, ","))
        state.listed[name] = readRoster(data, name);
    return state;
}

// Every roster file in the Data folder, listed or not, by class name.
std::map<std::string, ClassRoster> rosterFiles(const DataFolder& data) {
    std::map<std::string, ClassRoster> files;
    for (const auto& entry : std::filesystem::directory_iterator(toFsPath(data.path()))) {
        const std::u8string u8 = entry.path().filename().u8string();
        const std::string name(u8.begin(), u8.end());
        if (!name.ends_with(".conf") || name == "Config.conf") continue;
        const std::string className = name.substr(0, name.size() - 5);
        files[className] = readRoster(data, className);
    }
    return files;
}

const ClassRoster kFirst{{"1", "2"}, {"张三", "李四"}};
const ClassRoster kSecond{{"1"}, {"王五"}};
const ClassRoster kThird{{"1", "2"}, {"赵六", "钱七"}};
const ClassRoster kSaved{{"1", "2", "3"}, {"张三", "李四", "孙八"}};
const std::string kSavedText = "1\t张三\r\n2\t李四\r\n3\t孙八\r\n";

struct Operation {
    std::string name;
    bool startEmpty = false; // no class yet; otherwise 一班 (current), 二班 and 三班
    std::string changed;     // the class whose roster the operation replaces with kSaved
    std::string deleted;     // the class whose rows the operation deletes
    std::function<void(Program&)> run;
    // What a teacher does on seeing the windows to finish the operation.
    std::function<void(Program&)> repair;
};

const std::vector<Operation>& operations() {
    static const std::vector<Operation> all = {
        {"add a class", false, "", "", [](Program& p) { p.add("四班"); },
         [](Program& p) {
             if (p.indexOf(p.classes, "四班") < 0) p.add("四班");
         }},
        {"add the first class", true, "", "", [](Program& p) { p.add("一班"); },
         [](Program& p) {
             if (p.indexOf(p.classes, "一班") < 0) p.add("一班");
             if (!p.titleNames("一班")) p.choose("一班");
         }},
        {"save the current class", false, "一班", "", [](Program& p) { p.save("一班", "一班", kSavedText); },
         [](Program& p) { p.save("一班", "一班", kSavedText); }},
        {"save under a new name", false, "一班", "", [](Program& p) { p.save("一班", "甲班", kSavedText); },
         [](Program& p) {
             p.save(p.indexOf(p.classes, "一班") >= 0 ? "一班" : "甲班", "甲班", kSavedText);
             if (!p.titleNames("甲班")) p.choose("甲班");
         }},
        {"delete the current class", false, "", "一班", [](Program& p) { p.remove("一班"); },
         [](Program& p) {
             if (p.indexOf(p.classes, "一班") >= 0) p.remove("一班");
             if (!p.titleNames("二班")) p.choose("二班");
         }},
        {"choose a class", false, "", "", [](Program& p) { p.choose("三班"); },
         [](Program& p) {
             if (!p.titleNames("三班")) p.choose("三班");
         }},
    };
    return all;
}

class FaultInjectionTest : public ::testing::Test {
protected:
    void TearDown() override {
        platform::setReplaceFailureHook({});
        platform::setBeforeReplaceHook({});
    }

    void prepare(const Operation& op) {
        folder_.reset();
        folder_ = std::make_unique<ProgramFolder>();
        if (op.startEmpty) {
            folder_->prepare("", "");
            return;
        }
        folder_->prepare("一班,二班,三班", "一班");
        folder_->addRoster("一班", kFirst);
        folder_->addRoster("二班", kSecond);
        folder_->addRoster("三班", kThird);
    }

    // No student row is lost: every class's rows, old or newly saved, are in a file.
    void expectNoRowLost(const Operation& op) {
        const auto files = rosterFiles(folder_->data());
        const auto held = [&](const ClassRoster& roster) {
            return std::any_of(files.begin(), files.end(), [&](const auto& file) { return file.second == roster; });
        };
        if (op.startEmpty) return;
        for (const auto& [name, roster] : {std::pair{"一班", kFirst}, {"二班", kSecond}, {"三班", kThird}}) {
            if (name == op.deleted) continue;
            EXPECT_TRUE(held(roster) || (name == op.changed && held(kSaved))) << "the rows of " << name << " are lost";
        }
        for (const std::string& name : splitList(settings::classList(folder_->data()), ","))
            EXPECT_TRUE(std::filesystem::exists(toFsPath(folder_->data().rosterFile(name))))
                << name << " is listed without its roster file";
    }

    // A program started on the files reads them sensibly; the teacher sees every class.
    void expectReadsSensibly(Program& program) {
        const std::string current = settings::currentClass(folder_->data());
        EXPECT_EQ(program.rollCall.roster(), current.empty() ? ClassRoster{} : readRoster(folder_->data(), current));
        if (!current.empty()) {
            EXPECT_TRUE(program.titleNames(current));
        }
        // A draw settles on a student of the current roster.
        const ClassRoster roster = program.rollCall.roster();
        if (roster.size() > 0) {
            program.toolkit.click(program.main, unit::kStartStop);
            EXPECT_TRUE(program.toolkit.tick(program.main, unit::kTimer));
            program.toolkit.click(program.main, unit::kStartStop);
            const std::string number = program.toolkit.text(program.main, unit::kNumber);
            const std::string name = program.toolkit.text(program.main, unit::kName);
            bool ofRoster = false;
            for (std::size_t i = 1; i <= roster.size(); ++i)
                ofRoster = ofRoster || (roster.numberAt(i) == number && roster.nameAt(i) == name);
            EXPECT_TRUE(ofRoster) << number << " " << name;
        }
        program.openClassManagement();
        const std::vector<std::string> listed = splitList(settings::classList(folder_->data()), ",");
        EXPECT_EQ(program.items(program.settings), listed);
        EXPECT_EQ(program.items(program.classes), listed);
        for (std::size_t i = 0; i < listed.size(); ++i) {
            program.toolkit.choose(program.classes, kClassBox, static_cast<int>(i));
            EXPECT_EQ(program.toolkit.text(program.classes, unit::kRosterBox),
                      formatRosterText(readRoster(folder_->data(), listed[i])));
        }
    }

    // The files as the operation left them, for the list of states that remain possible.
    std::string describe(const State& state) {
        std::string unlisted;
        for (const auto& [name, roster] : rosterFiles(folder_->data()))
            if (!state.listed.contains(name)) unlisted += " " + name + ".conf";
        return "ClassName=" + state.classList + " Default=" + state.current +
               (unlisted.empty() ? "" : " unlisted:" + unlisted);
    }

    std::unique_ptr<ProgramFolder> folder_;
};

TEST_F(FaultInjectionTest, EveryFailedWriteAndEveryStopLeavesRepairableFiles) {
    int faults = 0;
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        // The operation without faults: how many writes it makes, and what it means to leave.
        prepare(op);
        int writes = 0;
        {
            Program program(folder_->data());
            program.openClassManagement();
            platform::setReplaceFailureHook([&](const FilePath&) { return ++writes, false; });
            op.run(program);
            platform::setReplaceFailureHook({});
        }
        const State meant = stateNow(folder_->data());
        ASSERT_GT(writes, 0);
        std::set<std::string> states;

        for (int k = 0; k < writes; ++k) {
            SCOPED_TRACE("write " + std::to_string(k + 1) + " of " + std::to_string(writes) + " fails");
            prepare(op);
            Program program(folder_->data());
            program.openClassManagement();
            int count = 0;
            platform::setReplaceFailureHook([&](const FilePath&) { return count++ == k; });
            op.run(program);
            platform::setReplaceFailureHook({});
            ++faults;
            states.insert(describe(stateNow(folder_->data())));

            // The teacher is told, and the windows still show what is stored.
            EXPECT_EQ(std::count_if(program.toolkit.messages.begin(), program.toolkit.messages.end(),
                                    [](const Message& m) { return m == kDataNotSaved || m == kClassNotDeleted; }),
                      1);
            const std::vector<std::string> listed = splitList(settings::classList(folder_->data()), ",");
            EXPECT_EQ(program.items(program.classes), listed);
            EXPECT_EQ(program.items(program.settings), listed);
            expectNoRowLost(op);
            {
                Program restarted(folder_->data());
                expectReadsSensibly(restarted);
            }
            op.repair(program);
            EXPECT_EQ(stateNow(folder_->data()), meant);
        }

#ifndef _WIN32 // the stops need fork()
        for (int k = 0; k < writes; ++k) {
            SCOPED_TRACE("stopped before write " + std::to_string(k + 1) + " of " + std::to_string(writes));
            prepare(op);
            {
                Program program(folder_->data());
                program.openClassManagement();
                const pid_t child = ::fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    int count = 0;
                    platform::setBeforeReplaceHook([&] {
                        if (count++ == k) ::_exit(42);
                    });
                    op.run(program);
                    ::_exit(0);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << "the stop did not happen";
            }
            ++faults;
            states.insert(describe(stateNow(folder_->data())));
            expectNoRowLost(op);
            Program restarted(folder_->data());
            expectReadsSensibly(restarted);
            op.repair(restarted);
            EXPECT_EQ(stateNow(folder_->data()), meant);
        }
#endif
        std::string found;
        for (const std::string& state : states)
            found += "\n    " + state;
        std::printf("%s: %d writes; states left:%s\n", op.name.c_str(), writes, found.c_str());
    }
    std::printf("%d faults injected\n", faults);
}

} // namespace
} // namespace tallyra::ui
