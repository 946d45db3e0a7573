// Start-up timing, object counts and screenshot requests.
#include "measure.h"

#include "automation.h"
#include "tallyra.h"
#include "text.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace e2e {
namespace {

using namespace units;
using Clock = std::chrono::steady_clock;

constexpr COLORREF kTitleBlue = RGB(0x4E, 0xC4, 0xFA);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool pixelIs(POINT point, COLORREF expected) { return screenPixel(point) == expected; }

// The first visible top-level window of the process with that caption whose probe
// points show their colours; polled every 2 ms.
std::optional<double> timeToPaint(const std::filesystem::path& exe, std::wstring_view caption,
                                  const std::vector<std::pair<POINT, COLORREF>>& probes,
                                  const std::function<bool(HWND)>& ready) {
    std::wstring error;
    const auto started = Clock::now();
    auto process = Process::start(exe, error);
    if (!process) {
        std::printf("cannot start %s: %s\n", exe.string().c_str(), toUtf8(error).c_str());
        return std::nullopt;
    }
    HWND painted = nullptr;
    waitUntil(
        [&] {
            for (HWND top : topWindows(process->id())) {
                if (windowText(top) != caption) continue;
                const RECT r = screenRect(top);
                bool all = ready(top);
                for (auto [offset, color] : probes)
                    all = all && pixelIs({r.left + offset.x, r.top + offset.y}, color);
                if (all) painted = top;
            }
            return painted != nullptr;
        },
        Millis(30000), Millis(2));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    if (painted) {
        PostMessageW(painted, WM_CLOSE, 0, 0);
        process->waitExit(Millis(5000));
    }
    process->kill();
    if (!painted) return std::nullopt;
    return ms;
}

// GDI objects of another process. Wine's GetGuiResources answers 0; there the
// count comes from the process's GDI handle table (PEB GdiSharedHandleTable,
// entries of 24 bytes whose type byte is not 0).
struct ObjectCounts {
    long gdi = -1;
    long user = -1;
    long windows = 0;
    const char* gdiSource = "GetGuiResources";
};

long gdiFromHandleTable(HANDLE process) {
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
    constexpr size_t kTableOffset = 0x94; // PEB32::GdiSharedHandleTable
    DWORD table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(info.PebBaseAddress) + kTableOffset, &table,
                           sizeof table, nullptr) ||
        !table)
        return -1;
    constexpr size_t kEntrySize = 24, kEntries = 0x10000, kTypeOffset = 14;
    std::vector<BYTE> entries(kEntrySize * kEntries);
    SIZE_T read = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<uintptr_t>(table)), entries.data(), entries.size(),
                      &read);
    long count = 0;
    for (size_t i = 0; i + kEntrySize <= read; i += kEntrySize)
        if (entries[i + kTypeOffset] != 0) ++count;
    return read ? count : -1;
}

ObjectCounts objectCounts(const Process& process) {
    ObjectCounts counts;
    SetLastError(0);
    counts.gdi = static_cast<long>(GetGuiResources(process.handle(), GR_GDIOBJECTS));
    if (counts.gdi == 0) {
        counts.gdi = gdiFromHandleTable(process.handle());
        counts.gdiSource = "the process's GDI handle table";
    }
    SetLastError(0);
    counts.user = static_cast<long>(GetGuiResources(process.handle(), GR_USEROBJECTS));
    if (counts.user == 0 && GetLastError() != 0) counts.user = -1;
    for (HWND top : topWindows(process.id(), false)) counts.windows += 1 + static_cast<long>(descendants(top).size());
    return counts;
}

void printCounts(const char* when, const ObjectCounts& counts) {
    std::printf("%-28s GDI objects %ld (%s), USER objects %ld%s, windows %ld\n", when, counts.gdi, counts.gdiSource,
                counts.user, counts.user < 0 ? " (not available)" : "", counts.windows);
    std::fflush(stdout);
}

} // namespace

int measureStartup(const Options& options, int runs) {
    // A prepared folder: no first-run notice, a current class.
    CaseContext context(options, "startup");
    Session app(context);
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]",
                                           L"ClassName=一班", L"Default=一班"}));
    app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=1,2", L"Name=张三,李四"}));
    const std::filesystem::path tallyra = app.folder() / "Tallyra.exe";

    // Title bar right of the title label, the content area, the frame of the Start button.
    const std::vector<std::pair<POINT, COLORREF>> mainProbes = {
        {{356, 16}, kTitleBlue}, {{30, 300}, kWhite}, {{61, 337}, RGB(0xDD, 0xDD, 0xDD)}};
    auto titled = [](HWND window) {
        HWND label = GetDlgItem(window, kMainTitle.controlId());
        return label && windowText(label).value_or(L"").starts_with(kProductTitle);
    };
    const std::vector<std::pair<POINT, COLORREF>> emptyProbes = {{{356, 16}, kTitleBlue}};
    std::vector<double> empty, program;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        // Alternating, so that a slow moment of the machine weighs on both.
        auto e = timeToPaint(options.emptyExe, L"空窗口", emptyProbes, [](HWND) { return true; });
        auto p = timeToPaint(tallyra, L"Tallyra", mainProbes, titled);
        if (e) empty.push_back(*e);
        if (p) program.push_back(*p);
        failures += !e + !p;
        std::printf("run %d: empty window %.1f ms, Tallyra %.1f ms\n", run + 1, e.value_or(-1), p.value_or(-1));
        std::fflush(stdout);
    }
    if (empty.empty() || program.empty()) return 1;
    const double emptyMedian = median(empty), programMedian = median(program);
    std::printf("median of %d runs: empty window %.1f ms, Tallyra %.1f ms, ratio %.2f\n", runs, emptyMedian,
                programMedian, programMedian / emptyMedian);
    return failures;
}

int measureObjects(const Options& options, int ticks, bool postTicks) {
    CaseContext context(options, "objects");
    Session app(context);
    std::wstring numbers, names;
    for (int i = 1; i <= 40; ++i) {
        numbers += (i > 1 ? L"," : L"") + std::to_wstring(i);
        names += (i > 1 ? L"," : L"") + std::wstring(L"学生") + std::to_wstring(i);
    }
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]",
                                           L"ClassName=一班", L"Default=一班"}));
    app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=" + numbers, L"Name=" + names}));
    try {
        app.start();
        HWND main = app.waitFor(Win::Main);
        app.waitText(main, kMainTitle, std::wstring(kProductTitle) + L" [一班]");
        printCounts("idle after start-up:", objectCounts(app.process()));
        app.click(main, kStart);
        app.waitText(main, kStart, L"停止");
        pause(Millis(100));
        printCounts("after ~10 ticks:", objectCounts(app.process()));
        HWND timer = app.unit(main, kTimer);
        const auto started = Clock::now();
        if (postTicks) {
            // WM_TIMER posted to the timer unit runs the same tick handler as the
            // system timer; the queue is drained between batches.
            const UINT_PTR timerId = static_cast<UINT_PTR>(options.timerId);
            for (int sent = 0; sent < ticks; sent += 500) {
                for (int i = 0; i < 500; ++i) PostMessageW(timer, WM_TIMER, timerId, 0);
                sendBounded(timer, WM_NULL);
            }
        } else {
            pause(Millis(10LL * ticks));
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        char when[64];
        std::snprintf(when, sizeof when, "after %d more ticks:", ticks);
        printCounts(when, objectCounts(app.process()));
        std::printf("(%s, %.1f s)\n", postTicks ? "ticks posted as WM_TIMER" : "ticks of the 10 ms timer", seconds);
        app.click(main, kStart);
        app.waitText(main, kStart, L"开始");
        printCounts("after Stop:", objectCounts(app.process()));
        app.click(main, kMainClose);
        app.waitExit();
    } catch (const Failure&) {
        return 1;
    }
    return 0;
}

int takeScreenshots(const Options& options, const std::filesystem::path& out) {
    CaseContext context(options, "screenshots");
    int failures = 0;
    auto shoot = [&](HWND window, const char* name) {
        moveMouse({2, 2});
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pause(Millis(500));
        const RECT r = screenRect(window);
        const auto request = out / (std::string(name) + ".request");
        const auto done = out / (std::string(name) + ".png");
        std::error_code error;
        std::filesystem::remove(done, error);
        char geometry[64];
        std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left,
                      r.top);
        writeFileBytes(request, geometry);
        const bool taken = waitUntil([&] { return !std::filesystem::exists(request); }, Millis(20000));
        std::printf("%s %s %s", name, taken ? "saved," : "NOT saved,", geometry);
        std::fflush(stdout);
        failures += !taken;
    };
    try {
        Session app(context);
        app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]",
                                               L"ClassName=一班", L"Default=一班"}));
        app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=1,2,3", L"Name=张三,李四,王五"}));
        app.start();
        HWND main = app.waitFor(Win::Main);
        app.waitText(main, kMainTitle, std::wstring(kProductTitle) + L" [一班]");
        shoot(main, "main");
        app.click(main, kStart);
        app.waitText(main, kStart, L"停止");
        pause(Millis(200));
        app.click(main, kStart);
        app.waitText(main, kStart, L"开始");
        shoot(main, "main-drawn");
        app.click(main, kSettingsButton);
        HWND settings = app.waitFor(Win::Settings);
        shoot(settings, "settings");
        app.click(settings, kClassManagementButton);
        HWND manage = app.waitFor(Win::ClassManagement);
        shoot(manage, "class-management");
        app.click(manage, kManageClose);
        settings = app.waitFor(Win::Settings);
        app.click(settings, kAboutButton);
        HWND about = app.waitFor(Win::About);
        shoot(about, "about");
        app.click(about, kChangelogLink);
        HWND changelog = app.waitFor(Win::Changelog);
        shoot(changelog, "changelog");
        app.click(changelog, kChangelogClose);
        about = app.waitFor(Win::About);
        app.click(about, kSupportLink);
        auto box = waitMessageBox(app.processId(), Millis(5000));
        context.require(box.has_value(), "no question before the support window");
        answerMessageBox(*box, IDOK);
        HWND support = app.waitFor(Win::Support);
        shoot(support, "support");
        app.click(support, kSupportClose);
        about = app.waitFor(Win::About);
        app.click(about, kAboutClose);
        settings = app.waitFor(Win::Settings);
        app.click(settings, kSettingsClose);
        main = app.waitFor(Win::Main);
        app.click(main, kMainClose);
        app.waitExit();
    } catch (const Failure&) {
        ++failures;
    }
    return failures;
}

} // namespace e2e
