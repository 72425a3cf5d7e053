// Start-up benchmark: time from process start until the main window is shown and painted,
// and peak working set, for Quillmark and for Wine's notepad, runs alternating.
//   startup_bench.exe QUILLMARK_EXE [RUNS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench QUILLMARK_EXE [RUNS]\n");
        return 2;
    }
    const std::wstring programs[] = {argv[1], L"C:\\windows\\system32\\notepad.exe"};
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10;
    std::vector<double> ms[2], kib[2];
    Sample s;
    for (const auto& p : programs) Measure(p, s);  // warm-up: caches, fonts, the desktop
    for (int i = 0; i < runs; ++i)
        for (int k = 0; k < 2; ++k) {
            if (!Measure(programs[k], s)) {
                std::fprintf(stderr, "%ls: no window\n", programs[k].c_str());
                return 1;
            }
            ms[k].push_back(s.ms);
            kib[k].push_back(s.peakKiB);
        }
    const char* names[] = {"Quillmark", "notepad"};
    std::printf("%d runs each, alternating, after one warm-up run each\n", runs);
    for (int k = 0; k < 2; ++k)
        std::printf("%-10s start-up median %7.1f ms   peak working set median %8.0f KiB\n",
                    names[k], Median(ms[k]), Median(kib[k]));
    std::printf("ratio Quillmark / notepad: start-up %.2f, peak working set %.2f\n",
                Median(ms[0]) / Median(ms[1]), Median(kib[0]) / Median(kib[1]));
    return 0;
}
