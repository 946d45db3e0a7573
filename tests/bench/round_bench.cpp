// The start-up's loading of the current class in a Data folder of 1,000 classes,
// each with its round file, against loading the roster alone (the start-up before
// rounds were kept); appending a pick to a record of 100,000 lines; and a settled
// pick from Stop to the caption (TALLYRA_BENCH_DIR: a folder to run it in, such as
// a sync-mounted one, where every write waits for the disk).
#include "draw/class_session.h"
#include "draw/round_keeper.h"
#include "storage/data_folder.h"
#include "storage/ini_file.h"
#include "storage/pick_record.h"
#include "storage/roster.h"
#include "storage/settings.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tallyra {
namespace {

class NoBoxes : public MessageBoxes {
public:
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Ok; }
};

// A run folder with Data holding 1,000 classes of 50 students, half of each drawn.
struct ThousandClasses {
    std::filesystem::path root;
    ThousandClasses() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        root = pattern;
        std::filesystem::create_directory(root / "Data");
        ClassRoster roster;
        StudentMarks drawn;
        for (int i = 1; i <= 50; ++i) {
            roster.numbers.push_back(std::to_string(i));
            roster.names.push_back("学生" + std::to_string(i));
            drawn.push_back(i % 2 == 0);
        }
        std::string classes;
        for (int i = 1; i <= 1000; ++i) {
            const std::string name = std::to_string(i) + "班";
            classes += (i > 1 ? "," : "") + name;
            (void)writeRoster(folder(), name, roster);
            (void)writeRoundFile(folder(), name, markedStudents(roster, drawn));
        }
        (void)writeIniItem(folder().settingsFile(), kClassSection, kClassNameKey, classes);
        (void)writeIniItem(folder().settingsFile(), kClassSection, kDefaultKey, "1000班");
    }
    ~ThousandClasses() { std::filesystem::remove_all(root); }
    DataFolder folder() const { return DataFolder(FilePath((root / "Data").string())); }
};

void loadCurrentClass(benchmark::State& state, bool withRound) {
    const ThousandClasses data;
    NoBoxes boxes;
    const DataFolder folder = data.folder();
    for (auto _ : state) {
        RollCall rollCall;
        RoundKeeper keeper(rollCall, boxes, folder);
        const std::string className = settings::currentClass(folder);
        if (withRound) keeper.loadClass(className, readRoster(folder, className), RoundKeeper::Reason::StartUp);
        else rollCall.loadRoster(readRoster(folder, className));
        benchmark::DoNotOptimize(rollCall.drawPool().data());
        if (rollCall.drawPool().size() != (withRound ? 25u : 50u)) state.SkipWithError("the round was not loaded");
    }
}
BENCHMARK_CAPTURE(loadCurrentClass, RosterOnly, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(loadCurrentClass, WithRoundAndAbsences, true)->Unit(benchmark::kMicrosecond);

void appendPickToRecordOf100000Lines(benchmark::State& state) {
    const ThousandClasses data;
    {
        std::ofstream record(data.root / "Data" / std::string(kPickRecordFileName), std::ios::binary);
        for (int i = 0; i < 100000; ++i)
            record << pickLine({"2026-12-07 08:00:00", "1班", std::to_string(i % 50 + 1), "学生"});
    }
    const Pick pick{nowText(), "1000班", "7", "学生7"};
    PickRecorder recorder(data.folder());
    for (auto _ : state)
        if (!recorder.append(pick).written) state.SkipWithError("the append failed");
}
BENCHMARK(appendPickToRecordOf100000Lines)->Unit(benchmark::kMicrosecond);

// The main window as the roll call sees it, stopping the clock when the caption turns back.
class TimedView : public RollCallView {
public:
    std::string numberText() const override { return number; }
    void setNumberText(std::string_view text) override { number = text; }
    std::string nameText() const override { return name; }
    void setNameText(std::string_view text) override { name = text; }
    void setNumberFontSize(int) override {}
    void setCaption(std::string_view caption) override {
        if (caption == kStartCaption) captionAt = std::chrono::steady_clock::now();
    }
    void setTimerInterval(int) override {}
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::Yes; }
    std::string number, name;
    std::chrono::steady_clock::time_point captionAt;
};

void settledPickStopToCaption(benchmark::State& state) {
    const char* where = std::getenv("TALLYRA_BENCH_DIR");
    std::string pattern =
        (where ? std::filesystem::path(where) : std::filesystem::temp_directory_path()) / "tallyra-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return state.SkipWithError("no folder");
    const std::filesystem::path root = pattern;
    std::filesystem::create_directory(root / "Data");
    const DataFolder folder(FilePath((root / "Data").string()));
    ClassRoster roster;
    for (int i = 1; i <= 50; ++i) {
        roster.numbers.push_back(std::to_string(i));
        roster.names.push_back("学生" + std::to_string(i));
    }
    (void)writeRoster(folder, "1班", roster);
    (void)writeIniItem(folder.settingsFile(), kClassSection, kClassNameKey, "1班");
    (void)writeIniItem(folder.settingsFile(), kClassSection, kDefaultKey, "1班");
    TimedView view;
    RollCall rollCall;
    ClassSession session(rollCall, view, folder);
    session.start();
    for (auto _ : state) {
        if (rollCall.drawPool().empty()) rollCall.startNewRound();
        rollCall.pressStartStop(view);
        rollCall.rollTick(view);
        const auto stop = std::chrono::steady_clock::now();
        rollCall.pressStartStop(view);
        state.SetIterationTime(std::chrono::duration<double>(view.captionAt - stop).count());
    }
    std::filesystem::remove_all(root);
}
BENCHMARK(settledPickStopToCaption)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tallyra
