// Opening the record window on a record of 60 MB (years of picks by many classes):
// the time to its text, and the heap it needs at its peak above what it started
// with (its own executable, so that counting every allocation slows no other bench).
#include "storage/pick_record_summary.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

namespace {

std::atomic<std::size_t> heapInUse{0};
std::atomic<std::size_t> heapPeak{0};

} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) throw std::bad_alloc();
    const std::size_t now = heapInUse += malloc_usable_size(block);
    for (std::size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
    }
    return block;
}
void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    heapInUse -= malloc_usable_size(block);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace tallyra {
namespace {

// Data holding a record of about 60 MB: 40 classes of 50 students over many days.
struct LargeRecord {
    std::filesystem::path root;
    ClassRoster roster;
    LargeRecord() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tallyra-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        root = pattern;
        std::filesystem::create_directory(root / "Data");
        for (int i = 1; i <= 50; ++i) {
            roster.numbers.push_back(std::to_string(i));
            roster.names.push_back("学生" + std::to_string(i));
        }
        std::ofstream out(root / "Data" / std::string(kPickRecordFileName), std::ios::binary);
        out << "\xEF\xBB\xBF时间,班级,学号,姓名\r\n";
        std::string lines;
        for (std::uint64_t written = 0, i = 0; written < 60ull << 20; ++i) {
            const std::string day =
                "2026-" + std::to_string(10 + i / 600000 % 3) + "-" + std::to_string(10 + i / 30000 % 20);
            lines = pickLine({day + " 08:00:00", std::to_string(i % 40 + 1) + "班", std::to_string(i % 50 + 1),
                              "学生" + std::to_string(i % 50 + 1)});
            out << lines;
            written += lines.size();
        }
    }
    ~LargeRecord() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

void openRecordWindowOn60MegabyteRecord(benchmark::State& state) {
    static const LargeRecord record;
    const DataFolder data(FilePath((record.root / "Data").string()));
    std::size_t peak = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse;
        heapPeak = before;
        const std::string text = recordWindowText(data, {}, "7班", record.roster, "2026-12-29");
        benchmark::DoNotOptimize(text.data());
        if (text.find("累计") == std::string::npos) state.SkipWithError("the record was not summarised");
        peak = std::max(peak, heapPeak - before);
    }
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["record_MB"] =
        static_cast<double>(std::filesystem::file_size(record.root / "Data" / std::string(kPickRecordFileName))) /
        (1 << 20);
}
BENCHMARK(openRecordWindowOn60MegabyteRecord)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace tallyra
