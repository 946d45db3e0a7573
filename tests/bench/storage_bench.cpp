// Reading an item from a settings file with a long class list, parsing a large
// roster text (what the save button of the class management window does), reading
// a huge roster file, and the settings window's reads for 10,000 classes. The
// "peak_heap" counter is the most memory the heap held at once during one run.
#include "storage/ini_file.h"
#include "storage/lists.h"
#include "storage/data_folder.h"
#include "storage/roster.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

namespace {

std::atomic<std::size_t> heapInUse{0}, heapPeak{0};

void* counted(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const std::size_t now = heapInUse += malloc_usable_size(block);
    std::size_t peak = heapPeak;
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void uncounted(void* block) noexcept {
    if (block == nullptr) return;
    heapInUse -= malloc_usable_size(block);
    std::free(block);
}

} // namespace

// The array forms call these.
void* operator new(std::size_t size) {
    return counted(size);
}
void operator delete(void* block) noexcept {
    uncounted(block);
}
void operator delete(void* block, std::size_t) noexcept {
    uncounted(block);
}

namespace tallyra {
namespace {

// A Data folder of its own for one benchmark; removed with the object.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
        std::filesystem::create_directory(path_ / "Data");
    }
    ~BenchFolder() { std::filesystem::remove_all(path_); }
    DataFolder data() const { return DataFolder(FilePath((path_ / "Data").string())); }
    void write(const char* name, const std::string& bytes) const {
        std::ofstream(path_ / "Data" / name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path path_;
};

// Runs the body once per iteration and reports the highest heap use of a run.
template <typename Body> void measured(benchmark::State& state, Body body) {
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t base = heapInUse;
        heapPeak = base;
        body();
        peak = std::max(peak, heapPeak - base);
    }
    state.counters["peak_heap"] =
        benchmark::Counter(static_cast<double>(peak), benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

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
    if (!writeIniItem(file, "Settings", "First", "False") || !writeIniItem(file, "Settings", "Voice", "True") ||
        !writeIniItem(file, "Class", "ClassName", classes) || !writeIniItem(file, "Class", "Default", "1000班")) {
        state.SkipWithError("cannot write the settings");
        std::filesystem::remove_all(folder);
        return;
    }

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

// The whole text is parsed even though a roster this long is refused as too long to store.
void parseRosterTextOf100000Rows(benchmark::State& state) {
    std::string text;
    for (int i = 1; i <= 100000; ++i)
        text += std::to_string(i) + "\t张三\r\n";
    measured(state, [&] { benchmark::DoNotOptimize(parseRosterText(text).roster.numbers.data()); });
}
BENCHMARK(parseRosterTextOf100000Rows)->Unit(benchmark::kMillisecond);

// A damaged or hand-made roster file of 50 MB, mostly blank lines, as the main window reads it.
void readRosterOf50Megabytes(benchmark::State& state) {
    const BenchFolder folder;
    std::string file = "[ClassData]\r\nNumber=1,2,3\r\nName=\xD5\xC5\xC8\xFD,\xC0\xEE\xCB\xC4,a\r\n";
    file.resize(50u << 20, '\n');
    folder.write("big.conf", file);
    const DataFolder data = folder.data();
    measured(state, [&] { benchmark::DoNotOptimize(readRoster(data, "big").numbers.data()); });
    if (readRoster(data, "big").size() != 3) state.SkipWithError("the roster did not read back");
}
BENCHMARK(readRosterOf50Megabytes)->Unit(benchmark::kMillisecond);

// What opening the settings window asks of storage with 10,000 classes listed:
// the class list once, then the current class for each class.
void settingsWindowReadsFor10000Classes(benchmark::State& state) {
    const BenchFolder folder;
    std::string classes;
    for (int i = 1; i <= 10000; ++i)
        classes += (i > 1 ? "," : "") + std::to_string(i);
    folder.write("Config.conf",
                 "[Settings]\r\nFirst=False\r\n[Class]\r\nClassName=" + classes + "\r\nDefault=10000\r\n");
    const FilePath config = folder.data().settingsFile();
    measured(state, [&] {
        const std::string list = readIniItem(config, "Class", "ClassName");
        for (int i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(readIniItem(config, "Class", "Default"));
        benchmark::DoNotOptimize(splitList(list, ",").size());
    });
}
BENCHMARK(settingsWindowReadsFor10000Classes)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tallyra
