// Start-up benchmark: time from process start until the main window is shown and painted,
// and peak working set, for several programs started in turn.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

struct Sample {
    double ms;
    double peakKiB;
};

struct Finder {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindShown(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Finder*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == f->pid && IsWindowVisible(w) && !GetWindow(w, GW_OWNER)) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND ShownWindowOf(DWORD pid) {
    Finder f{pid, nullptr};
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

bool Measure(const std::wstring& exe, Sample& out) {
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + exe + L"\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    // Shown, and nothing left to paint: the first paint has happened.
    WaitForInputIdle(pi.hProcess, 10000);
    HWND window = nullptr;
    const DWORD limit = GetTickCount() + 10000;
    while (GetTickCount() < limit) {
        window = ShownWindowOf(pi.dwProcessId);
        if (window && !GetUpdateRect(window, nullptr, FALSE)) break;
        Sleep(1);
    }
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS mem = {};
    mem.cb = sizeof(mem);
    GetProcessMemoryInfo(pi.hProcess, &mem, sizeof(mem));
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    out = {1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
               static_cast<double>(freq.QuadPart),
           static_cast<double>(mem.PeakWorkingSetSize) / 1024.0};
    return window != nullptr;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Program {
    std::wstring label, path;
    std::vector<double> ms, kib;
};

}  // namespace

// startup_bench RUNS LABEL=EXE...: every program once to warm up, then RUNS rounds in which
// each starts once. A label ends in BITS/PATH ("32/emulated"). A program labelled
// "Quillmark BITS/PATH" is compared with the others labelled "... BITS/PATH", and with notepad
// where that runs on the same path: emulated start-up is not comparable with native.
int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS LABEL=EXE...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const size_t eq = arg.find(L'=');
        if (eq == std::wstring::npos) return 2;
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}});
    }
    Sample s;
    for (auto& p : programs) Measure(p.path, s);  // warm-up: caches, fonts, the desktop
    // A program's place in the round matters (what ran just before it warms or cools what it
    // needs): each round takes them in a new order, the same orders every time.
    std::vector<size_t> order(programs.size());
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 shuffler(1);
    for (int i = 0; i < runs; ++i) {
        std::shuffle(order.begin(), order.end(), shuffler);
        for (size_t k : order) {
            Program& p = programs[k];
            if (!Measure(p.path, s)) {
                std::fprintf(stderr, "%ls: no window\n", p.path.c_str());
                return 1;
            }
            p.ms.push_back(s.ms);
            p.kib.push_back(s.peakKiB);
        }
    }
    std::printf("%d rounds, each in an order of its own (shuffled, fixed seed), after one warm-up run each; medians\n", runs);
    for (const auto& p : programs)
        std::printf("  %-24ls start-up %7.1f ms   peak working set %8.0f KiB\n", p.label.c_str(),
                    Median(p.ms), Median(p.kib));
    auto startsWith = [](const Program& p, const wchar_t* word) {
        return p.label.rfind(word, 0) == 0;
    };
    auto bits = [](const Program& p) { return p.label.substr(p.label.rfind(L' ') + 1); };
    auto path = [](const Program& p) { return p.label.substr(p.label.rfind(L'/') + 1); };
    for (const auto& q : programs) {
        if (!startsWith(q, L"Quillmark")) continue;
        for (const auto& other : programs) {
            if (startsWith(other, L"Quillmark")) continue;
            if (bits(other) != bits(q) && !(startsWith(other, L"notepad") && path(other) == path(q)))
                continue;
            std::printf("  %-20ls / %-24ls start-up %5.2f   peak working set %5.2f\n",
                        q.label.c_str(), other.label.c_str(), Median(q.ms) / Median(other.ms),
                        Median(q.kib) / Median(other.kib));
        }
    }
    return 0;
}
