// Reading an item from a settings file with a long class list, and parsing a large
// roster text (what the save button of the class management window does).
#include "storage/ini_file.h"
#include "storage/roster.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tallyra {
namespace {

void readIniItemFromLongClassList(benchmark::State& state, const char* key) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path folder = pattern;
    const FilePath file(pattern + "/Config.conf");
    std::string classes;
    for (int i = 1; i <= 1000; ++i)
        classes += (i > 1 ? "," : "") + std::to_string(i) + "班";
    writeIniItem(file, "Settings", "First", "False");
    writeIniItem(file, "Settings", "Voice", "True");
    writeIniItem(file, "Class", "ClassName", classes);
    writeIniItem(file, "Class", "Default", "1000班");

    for (auto _ : state)
        benchmark::DoNotOptimize(readIniItem(file, "Class", key));
    if (readIniItem(file, "Class", "ClassName") != classes) state.SkipWithError("class list did not read back");
    std::filesystem::remove_all(folder);
}
BENCHMARK_CAPTURE(readIniItemFromLongClassList, Default, "Default");
BENCHMARK_CAPTURE(readIniItemFromLongClassList, ClassName, "ClassName");

// 2,000 rows still fit in a file value (the parse is accepted); 100,000 are parsed whole and then refused.
void parseRosterTextOfRows(benchmark::State& state) {
    std::string text;
    for (int i = 1; i <= state.range(0); ++i)
        text += std::to_string(i) + "\t张三\r\n";
    if (state.range(0) <= 2000 && parseRosterText(text).refusal) state.SkipWithError("the roster text was refused");
    for (auto _ : state) {
        const RosterParse parse = parseRosterText(text);
        benchmark::DoNotOptimize(parse.roster.numbers.data());
    }
}
BENCHMARK(parseRosterTextOfRows)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A pasted text of 50 MB of empty rows: no row is kept, and nothing per row should be.
void parseRosterTextOf50MbOfEmptyRows(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 25 * 1024 * 1024; ++i)
        text += "\r\n";
    text += "1\t张三\r\n";
    for (auto _ : state) {
        const RosterParse parse = parseRosterText(text);
        benchmark::DoNotOptimize(parse.roster.numbers.data());
    }
}
BENCHMARK(parseRosterTextOf50MbOfEmptyRows)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace tallyra
