// Start-up timing, object counts and screenshot requests.
#include "measure.h"

#include "automation.h"
#include "tallyra.h"
#include "text.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>
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

bool pixelIs(POINT point, COLORREF expected) {
    return screenPixel(point) == expected;
}

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
                // The pixels first: reading them asks only the display, while each window
                // text is a message that the program has to answer between its paints.
                const RECT r = screenRect(top);
                bool all = true;
                for (auto [offset, color] : probes)
                    all = all && pixelIs({r.left + offset.x, r.top + offset.y}, color);
                if (all && windowText(top) == caption && ready(top)) painted = top;
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
// count comes from the process's GDI handle table, whose entries (24 bytes) hold a
// type byte that is 0 when free. A 32-bit process in a 64-bit Wine prefix keeps the
// table's address in its 64-bit PEB (reached through the 64-bit TEB, whose address
// Wine keeps in the 32-bit TEB's GdiBatchCount); a plain 32-bit one in its PEB.
struct ObjectCounts {
    long gdi = -1;
    long user = -1;
    long windows = 0;
    const char* gdiSource = "GetGuiResources";
    double workingSetMiB = -1;
};

template <class T> bool readRemote(HANDLE process, uintptr_t address, T& value) {
    SIZE_T read = 0;
    return address && ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value, &read) &&
           read == sizeof value;
}

uintptr_t gdiHandleTable(const Process& target) {
    auto* ntdll = GetModuleHandleW(L"ntdll.dll");
    using QueryThread = NTSTATUS(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto queryThread =
        reinterpret_cast<QueryThread>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationThread")));
    auto queryProcess =
        reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")));
    struct ThreadBasicInformation {
        NTSTATUS exitStatus;
        PVOID teb;
        CLIENT_ID clientId;
        ULONG_PTR affinity;
        LONG priority, basePriority;
    } thread{};
    constexpr size_t kTeb32GdiBatchCount = 0xF70, kTeb64Peb = 0x60, kPeb64GdiTable = 0xF8, kPeb32GdiTable = 0x94;
    DWORD teb64 = 0;
    if (queryThread && target.mainThread() &&
        queryThread(target.mainThread(), 0, &thread, sizeof thread, nullptr) == 0 &&
        readRemote(target.handle(), reinterpret_cast<uintptr_t>(thread.teb) + kTeb32GdiBatchCount, teb64) && teb64) {
        ULONGLONG peb64 = 0;
        DWORD table = 0;
        if (readRemote(target.handle(), teb64 + kTeb64Peb, peb64) && peb64 <= 0xFFFFFFFFull &&
            readRemote(target.handle(), static_cast<uintptr_t>(peb64) + kPeb64GdiTable, table) && table)
            return table;
    }
    PROCESS_BASIC_INFORMATION info{};
    DWORD table = 0;
    if (queryProcess && queryProcess(target.handle(), ProcessBasicInformation, &info, sizeof info, nullptr) == 0 &&
        readRemote(target.handle(), reinterpret_cast<uintptr_t>(info.PebBaseAddress) + kPeb32GdiTable, table))
        return table;
    return 0;
}

long gdiFromHandleTable(const Process& target) {
    const uintptr_t table = gdiHandleTable(target);
    if (!table) return -1;
    constexpr size_t kEntrySize = 24, kEntries = 0x10000, kTypeOffset = 14;
    std::vector<BYTE> entries(kEntrySize * kEntries);
    SIZE_T read = 0;
    if (!ReadProcessMemory(target.handle(), reinterpret_cast<const void*>(table), entries.data(), entries.size(),
                           &read))
        return -1;
    long count = 0;
    for (size_t i = 0; i + kEntrySize <= read; i += kEntrySize)
        if (entries[i + kTypeOffset] != 0) ++count;
    return count;
}

ObjectCounts objectCounts(const Process& process) {
    ObjectCounts counts;
    SetLastError(0);
    counts.gdi = static_cast<long>(GetGuiResources(process.handle(), GR_GDIOBJECTS));
    if (counts.gdi == 0) {
        counts.gdi = gdiFromHandleTable(process);
        counts.gdiSource = "the process's GDI handle table";
    }
    SetLastError(0);
    counts.user = static_cast<long>(GetGuiResources(process.handle(), GR_USEROBJECTS));
    if (counts.user == 0 && GetLastError() != 0) counts.user = -1;
    for (HWND top : topWindows(process.id(), false))
        counts.windows += 1 + static_cast<long>(descendants(top).size());
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.handle(), &memory, sizeof memory))
        counts.workingSetMiB = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
    return counts;
}

void printCounts(const char* when, const ObjectCounts& counts) {
    std::printf("%-28s GDI objects %ld (%s), USER objects %ld%s, windows %ld, working set %.2f MiB\n", when, counts.gdi,
                counts.gdiSource, counts.user, counts.user < 0 ? " (not available)" : "", counts.windows,
                counts.workingSetMiB);
    std::fflush(stdout);
}

// Working set (resident memory) of another process in KB; -1 when unknown.
long workingSetKb(const Process& process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process.handle(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}

// The empty window program's working set once it has painted; -1 when unknown.
long emptyWindowWorkingSetKb(const std::filesystem::path& exe) {
    std::wstring error;
    auto process = Process::start(exe, error);
    if (!process) return -1;
    HWND painted = nullptr;
    waitUntil(
        [&] {
            for (HWND top : topWindows(process->id()))
                if (windowText(top) == L"空窗口") painted = top;
            return painted != nullptr;
        },
        Millis(30000), Millis(10));
    pause(Millis(500)); // settled, as the program is when it is measured
    const long kb = painted ? workingSetKb(*process) : -1;
    if (painted) {
        PostMessageW(painted, WM_CLOSE, 0, 0);
        process->waitExit(Millis(5000));
    }
    process->kill();
    return kb;
}

// CPU time (user and kernel) of all the threads of another process so far, in seconds:
// Wine's GetProcessTimes answers 0 for another process, its GetThreadTimes does not.
double cpuSeconds(const Process& process) {
    ULONGLONG total = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != process.id()) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, exited, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &exited, &kernel, &user))
            total += (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}).QuadPart +
                     (ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}).QuadPart;
        if (thread) CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return static_cast<double>(total) / 1e7;
}

// The CPU share of one core the process took over `duration`, in percent.
double cpuShare(const Process& process, Millis duration) {
    const double before = cpuSeconds(process);
    const auto started = Clock::now();
    pause(duration);
    const double after = cpuSeconds(process);
    const double wall = std::chrono::duration<double>(Clock::now() - started).count();
    return 100.0 * (after - before) / wall;
}

} // namespace

long gdiObjectCount(const Process& process) {
    return objectCounts(process).gdi;
}

namespace {

// A prepared folder: no first-run notice, a current class; the floating button when asked.
void prepareMeasuredFolder(Session& app, bool floatButton) {
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False",
                                           floatButton ? L"FloatButton=True" : L"FloatButton=False", L"[Class]",
                                           L"ClassName=一班", L"Default=一班"}));
    app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=1,2", L"Name=张三,李四"}));
}

} // namespace

int measureIdle(const Options& options, int minutes, bool floatButton) {
    CaseContext context(options, "idle");
    Session app(context);
    prepareMeasuredFolder(app, floatButton);
    app.start();
    const HWND main = app.waitFor(Win::Main);
    pause(Millis(2000)); // past the start-up
    const auto cpu = [&] {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(app.process().handle(), &created, &exited, &kernel, &user);
        const auto ticks = [](FILETIME time) {
            return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        };
        return ticks(kernel) + ticks(user); // 100 ns units
    };
    const unsigned long long before = cpu();
    const DWORD started = GetTickCount();
    pause(Millis(minutes * 60000));
    const double busyMs = static_cast<double>(cpu() - before) / 10000.0;
    const double wallMs = GetTickCount() - started;
    std::printf("idle for %.0f s%s: CPU %.0f ms, %.3f %%, working set %ld KB\n", wallMs / 1000,
                floatButton ? " with the floating button" : "", busyMs, 100.0 * busyMs / wallMs,
                workingSetKb(app.process()));
    PostMessageW(main, WM_CLOSE, 0, 0);
    app.process().waitExit(Millis(5000));
    return 0;
}

int measureStartup(const Options& options, int runs, bool floatButton) {
    CaseContext context(options, "startup");
    Session app(context);
    prepareMeasuredFolder(app, floatButton);
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
    // Numbers of 1 to 14 bytes, so that ticks switch the number's font size.
    const std::wstring prefixes[] = {L"", L"202400", L"20240000", L"202400000000"};
    for (int i = 1; i <= 40; ++i) {
        numbers += (i > 1 ? L"," : L"") + prefixes[i % 4] + std::to_wstring(10 + i);
        names += (i > 1 ? L"," : L"") + std::wstring(L"学生") + std::to_wstring(i);
    }
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]", L"ClassName=一班",
                                           L"Default=一班"}));
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
        if (!options.emptyExe.empty()) {
            const long empty = emptyWindowWorkingSetKb(options.emptyExe); // Tallyra rolls meanwhile
            const long rolling = workingSetKb(app.process());
            std::printf("working set while rolling: Tallyra %ld KB, empty window %ld KB, difference %ld KB\n", rolling,
                        empty, rolling >= 0 && empty >= 0 ? rolling - empty : -1);
            std::fflush(stdout);
        }
        HWND timer = app.unit(main, kTimer);
        const auto started = Clock::now();
        int changed = 0, batches = 0;
        if (postTicks) {
            // WM_TIMER posted to the timer unit runs the same tick handler as the
            // system timer. A posted WM_SETREDRAW pair on the hidden feedback label,
            // which flips only its WS_VISIBLE style, marks where a batch ends: once the
            // style has flipped, every tick posted before it has run.
            const UINT_PTR timerId = static_cast<UINT_PTR>(options.timerId);
            HWND marker = app.unit(main, Unit{Win::Main, 11, "反馈标签"});
            HWND number = app.unit(main, kNumber);
            auto styleVisible = [&] { return (GetWindowLongW(marker, GWL_STYLE) & WS_VISIBLE) != 0; };
            for (int sent = 0; sent < ticks; sent += 500, ++batches) {
                const std::wstring before = windowText(number).value_or(L"");
                for (int i = 0; i < 500 && sent + i < ticks; ++i)
                    PostMessageW(timer, WM_TIMER, timerId, 0);
                PostMessageW(marker, WM_SETREDRAW, TRUE, 0);
                context.require(waitUntil(styleVisible, Millis(30000)), "posted ticks were not handled");
                PostMessageW(marker, WM_SETREDRAW, FALSE, 0);
                context.require(waitUntil([&] { return !styleVisible(); }, Millis(30000)), "marker did not return");
                changed += windowText(number).value_or(L"") != before;
            }
        } else {
            pause(Millis(10LL * ticks));
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        char when[64];
        std::snprintf(when, sizeof when, "after %d more ticks:", ticks);
        printCounts(when, objectCounts(app.process()));
        std::printf("(%s, %.1f s", postTicks ? "ticks posted as WM_TIMER" : "ticks of the 10 ms timer", seconds);
        if (postTicks) std::printf("; the number changed across %d of %d batches", changed, batches);
        std::printf(")\n");
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

int measureRollingCpu(const Options& options, int seconds, int runs, bool multiDraw) {
    CaseContext context(options, "rolling-cpu");
    Session app(context);
    // Names of every length the display meets, so that each tick fits another text.
    const std::wstring names[] = {L"张三", L"欧阳明月", L"阿卜杜热合曼·买买提", L"李四", L"司马光明", L"王五六"};
    std::wstring numberList, nameList;
    for (int i = 1; i <= 40; ++i) {
        numberList += (i > 1 ? L"," : L"") + std::to_wstring(20240000 + i);
        nameList += (i > 1 ? L"," : L"") + names[i % 6] + (i % 4 ? L"" : std::to_wstring(i));
    }
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]", L"ClassName=一班",
                                           L"Default=一班"}));
    app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=" + numberList, L"Name=" + nameList}));
    try {
        app.start();
        HWND main = app.waitFor(Win::Main);
        app.waitText(main, kMainTitle, std::wstring(kProductTitle) + L" [一班]");
        Unit title = kMainTitle, start = kStart;
        if (multiDraw) {
            app.chooseMenuItem(main, kMultiDrawItem);
            main = app.waitFor(Win::MultiDraw);
            context.require(setWindowText(app.unit(main, kDrawCount), L"10"), "cannot set the number of slots");
            title = kMultiTitle, start = kMultiStart;
        }
        if (auto failed = click(app.unit(main, title))) context.fail("activating the window: " + *failed);
        app.click(main, start);
        app.waitText(main, start, L"停止");
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        const auto fullScreen = [&] {
            const RECT rect = screenRect(main);
            return EqualRect(&rect, &screen) != FALSE;
        };
        std::vector<double> window, full;
        const Millis phase(1000LL * seconds);
        for (int run = 1; run <= runs; ++run) {
            pause(Millis(1000)); // settled after the switch
            window.push_back(cpuShare(app.process(), phase));
            const long windowKb = workingSetKb(app.process());
            pressKey(VK_F11);
            context.require(waitUntil(fullScreen, Millis(5000)), "F11 did not fill the screen");
            pause(Millis(1000));
            full.push_back(cpuShare(app.process(), phase));
            const long fullKb = workingSetKb(app.process());
            pressKey(VK_ESCAPE);
            context.require(waitUntil([&] { return !fullScreen(); }, Millis(5000)), "Escape did not leave full screen");
            std::printf(
                "run %d: window %.1f %% (working set %ld KB), full screen %ldx%ld %.1f %% (working set %ld KB)\n", run,
                window.back(), windowKb, screen.right, screen.bottom, full.back(), fullKb);
            std::fflush(stdout);
        }
        const double windowMedian = median(window), fullMedian = median(full);
        std::printf("median of %d runs of %d s rolling%s: window %.1f %% of a core, full screen %.1f %%, ratio %.2f\n",
                    runs, seconds, multiDraw ? " 10 slots at once" : "", windowMedian, fullMedian,
                    windowMedian > 0 ? fullMedian / windowMedian : 0.0);
        // Closed by the system's message: under Wine the window may still be on its way
        // back from full screen, where a click would miss its button.
        PostMessageW(main, WM_CLOSE, 0, 0);
        if (multiDraw) PostMessageW(app.waitFor(Win::Main), WM_CLOSE, 0, 0);
        app.waitExit();
    } catch (const Failure&) {
        return 1;
    }
    return 0;
}

int measureSoak(const Options& options, int minutes) {
    CaseContext context(options, "soak");
    Session app(context);
    std::wstring numbers, names;
    for (int i = 1; i <= 40; ++i) {
        numbers += (i > 1 ? L"," : L"") + std::to_wstring(20240000 + i);
        names += (i > 1 ? L"," : L"") + std::wstring(L"学生") + std::to_wstring(i);
    }
    app.writeData(L"Config.conf", gbkFile({L"[Settings]", L"First=False", L"Voice=False", L"[Class]", L"ClassName=一班",
                                           L"Default=一班"}));
    app.writeData(L"一班.conf", gbkFile({L"[ClassData]", L"Number=" + numbers, L"Name=" + names}));
    try {
        app.start();
        HWND main = app.waitFor(Win::Main);
        app.waitText(main, kMainTitle, std::wstring(kProductTitle) + L" [一班]");
        app.click(main, kStart);
        app.waitText(main, kStart, L"停止");
        pause(Millis(1000));
        const ObjectCounts first = objectCounts(app.process());
        printCounts("rolling, after 1 s:", first);
        // The program's own 10 ms timer rolls; the number shown is sampled every
        // second (it must keep changing) and the counts every minute.
        HWND number = app.unit(main, kNumber);
        ObjectCounts last = first;
        int stillSeconds = 0, seconds = 0;
        std::wstring shown = windowText(number).value_or(L"");
        for (int minute = 1; minute <= minutes; ++minute) {
            for (int second = 0; second < 60; ++second, ++seconds) {
                pause(Millis(1000));
                const std::wstring now = windowText(number).value_or(L"");
                stillSeconds += now == shown;
                shown = now;
            }
            last = objectCounts(app.process());
            char when[64];
            std::snprintf(when, sizeof when, "rolling, after %d min:", minute);
            if (minute % 10 == 0 || minute == minutes) printCounts(when, last);
        }
        app.click(main, kStart);
        app.waitText(main, kStart, L"开始");
        printCounts("after Stop:", objectCounts(app.process()));
        std::printf("soak of %d min: GDI objects %ld -> %ld, USER objects %ld -> %ld, windows %ld -> %ld, "
                    "working set %.2f -> %.2f MiB; the number shown was the same as a second before in %d of %d "
                    "samples (1 in 40 by chance)\n",
                    minutes, first.gdi, last.gdi, first.user, last.user, first.windows, last.windows,
                    first.workingSetMiB, last.workingSetMiB, stillSeconds, seconds);
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
        const std::wstring title = std::wstring(kProductTitle) + L" [一班]";
        if (!waitUntil([&] { return windowText(app.unit(main, kMainTitle)) == title; }, Millis(3000)))
            std::printf("the main window's title does not show the class 一班\n");
        shoot(main, "main");
        // Pictures, not checks: a refused Start is answered and the tour goes on.
        app.click(main, kStart);
        pause(Millis(200));
        if (auto box = findMessageBox(app.processId())) {
            std::printf("Start showed %s: %s\n", visible(box->title).c_str(), visible(box->text).c_str());
            answerMessageBox(*box, IDOK);
        } else {
            app.click(main, kStart);
            app.waitText(main, kStart, L"开始");
        }
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
