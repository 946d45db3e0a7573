// The start-up's loading of the current class in a Data folder of 1,000 classes,
// each with its round file, against loading the roster alone (the start-up before
// rounds were kept); and appending a pick to a record of 100,000 lines.
#include "draw/round_keeper.h"
#include "storage/data_folder.h"
#include "storage/ini_file.h"
#include "storage/pick_record.h"
#include "storage/roster.h"
#include "storage/settings.h"

#include <benchmark/benchmark.h>

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

} // namespace
} // namespace tallyra
