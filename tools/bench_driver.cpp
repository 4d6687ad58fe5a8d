// End-to-end benchmark, from inside Wine: 20 hand-offs of Tolvaring.exe and 20 runs of the
// windowless yardstick, alternating, against the same loopback page and client folder.
// Prints the medians, their ratio and the peak working set of a hand-off.
#include "common/Ansi.h"
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

struct Run {
    double ms = 0;
    SIZE_T peak = 0;
    DWORD exitCode = 1;
};

Run Measure(const std::wstring& exe, const std::wstring& cwd, const wchar_t* args = L"") {
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    std::wstring commandLine = L"\"" + exe + L"\" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Run run;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.c_str(), &startup, &info))
        return run;
    WaitForSingleObject(info.hProcess, 60000);
    QueryPerformanceCounter(&end);
    run.ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(freq.QuadPart);
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters))
        run.peak = counters.PeakWorkingSetSize;
    GetExitCodeProcess(info.hProcess, &run.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return run;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

// Where the median of hand-offs of the page at `path` on loopback alone is kept.
std::wstring BaselineFile(const std::wstring& path) {
    std::wstring key;
    for (wchar_t c : path)
        key += iswalnum(c) ? c : L'-';
    return StateFolder() + L"\\bench-baseline" + key + L".txt";
}

// Hand-offs of Tolvaring.exe of the page at `path` on the network the bench has set up
// (`label` says which), alternating with the yardstick with a window, which asks no router.
// The first run of a page, on loopback alone, keeps its ratio to the yardstick in the state
// folder; later runs say how much longer they take than that ratio gives with today's
// yardstick, so that the machine's drift between the runs does not count.
int HandOffsOnly(const char* label, const std::wstring& work, const std::wstring& path) {
    const std::wstring baselineFile = BaselineFile(path);
    std::vector<double> times, yardstick;
    Measure(ExeFolder() + L"\\Tolvaring.exe", work); // warm-up
    for (int i = 0; i < 20; ++i) {
        const Run t = Measure(ExeFolder() + L"\\Tolvaring.exe", work);
        if (t.exitCode != 0) {
            std::printf("a run failed (exit code %lu)\n", t.exitCode);
            return 1;
        }
        times.push_back(t.ms);
        yardstick.push_back(Measure(ExeFolder() + L"\\minimal_handoff.exe", work, L"window").ms);
    }
    const double median = Median(times), yard = Median(yardstick);
    if (!FileExists(baselineFile)) {
        WriteFileBytes(baselineFile, Narrow(std::to_wstring(median / yard)));
        std::printf("Tolvaring.exe median, %s: %8.1f ms (%.2fx the yardstick)\n", label, median,
                    median / yard);
        return 0;
    }
    const double ratio = std::wcstod(ReadFileText(baselineFile).c_str(), nullptr);
    std::printf("Tolvaring.exe median, %s: %8.1f ms, %+.1f ms against loopback alone\n", label,
                median, median - ratio * yard);
    return 0;
}

int main(int argc, char** argv) {
    const int rounds = 20;
    // Keeps the desktop up between runs, as Windows always has it; otherwise Wine starts
    // its desktop anew for every program and both sides measure mostly that.
    HWND keepDesktop = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 1, 1, nullptr,
                                       nullptr, nullptr, nullptr);
    const std::wstring client = MakeTempFolder(L"bench-client");
    const std::wstring work = MakeTempFolder(L"bench-work");
    PutClient(client);
    const std::wstring page = L"/ip?ip=192.0.2.50";
    if (argc > 3 && std::strcmp(argv[1], "--only") == 0) {
        const std::wstring path(argv[3], argv[3] + std::strlen(argv[3]));
        StoreSettings(client, PageUrl(path));
        const int failed = HandOffsOnly(argv[2], work, path);
        ForgetSettings();
        DestroyWindow(keepDesktop);
        return failed;
    }
    StoreSettings(client, PageUrl(page));

    std::vector<double> tolvaring, minimal, withWindow;
    SIZE_T peak = 0;
    Measure(ExeFolder() + L"\\Tolvaring.exe", work); // warm-up of both
    Measure(ExeFolder() + L"\\minimal_handoff.exe", work);
    for (int i = 0; i < rounds; ++i) {
        const Run t = Measure(ExeFolder() + L"\\Tolvaring.exe", work);
        const Run m = Measure(ExeFolder() + L"\\minimal_handoff.exe", work);
        const Run w = Measure(ExeFolder() + L"\\minimal_handoff.exe", work, L"window");
        withWindow.push_back(w.ms);
        if (t.exitCode != 0 || m.exitCode != 0) {
            std::printf("a run failed (exit codes %lu, %lu)\n", t.exitCode, m.exitCode);
            return 1;
        }
        tolvaring.push_back(t.ms);
        minimal.push_back(m.ms);
        peak = std::max(peak, t.peak);
    }
    const double mt = Median(tolvaring), mm = Median(minimal);
    std::printf("hand-offs: %d each\n", rounds);
    std::printf("Tolvaring.exe median:   %8.1f ms\n", mt);
    std::printf("minimal program median: %8.1f ms\n", mm);
    const double mw = Median(withWindow);
    std::printf("minimal program with one bare window: %8.1f ms\n", mw);
    // The program must show a window while it works, so the yardstick is the minimal
    // program that shows one too; the windowless figure says what the window costs.
    std::printf("ratio to the minimal program with a window: %.2fx (target <= 1.05x): %s\n",
                mt / mw, mt / mw <= 1.05 ? "met" : "NOT met");
    WriteFileBytes(BaselineFile(page), Narrow(std::to_wstring(mt / mw)));
    std::printf("ratio to the windowless minimal program: %.2fx\n", mt / mm);
    std::printf("peak working set of a hand-off: %.1f MiB\n", double(peak) / (1024.0 * 1024.0));
    ForgetSettings();
    DestroyWindow(keepDesktop);
    return 0;
}
