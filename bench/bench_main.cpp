// tb_bench TOOL.exe BARE_DIALOG.exe REPORT.md [quick]
// Runs every measurement in one go, prints the table and writes it, with the method and the
// machine, to REPORT.md. "quick" makes fewer, shorter runs for trying the benchmark out; its
// numbers are not the ones to publish.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench.h"

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Quantile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    double position = fraction * static_cast<double>(values.size() - 1);
    size_t below = static_cast<size_t>(position);
    if (below + 1 >= values.size()) return values.back();
    return values[below] + (position - static_cast<double>(below)) * (values[below + 1] - values[below]);
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "tb_bench: %s\n", what.c_str());
    std::exit(1);
}

namespace {

// The benchmark's own folder under the system's temporary folder, named after its process.
std::wstring BenchFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) Fail("no temporary folder");
    return std::wstring(temp, length) + L"tb_bench_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
}

}  // namespace

std::wstring FreshFolder(const wchar_t* purpose) {
    static int counter = 0;
    std::wstring folder = BenchFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += purpose + std::wstring(L"_") + std::to_wstring(++counter) + L"\\";
    if (!CreateDirectoryW(folder.c_str(), nullptr)) Fail("cannot create a temporary folder");
    return folder;
}

void RemoveTree(const std::wstring& folder) {
    if (folder.empty()) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L"\\");
            } else {
                SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

namespace {

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

std::wstring FullPath(const wchar_t* path) {
    wchar_t full[4096];
    DWORD length = GetFullPathNameW(path, 4096, full, nullptr);
    if (length == 0 || length >= 4096) Fail("bad path argument");
    return std::wstring(full, length);
}

bool IsFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// --- The machine ---------------------------------------------------------------------------

// Which build the figures come from: the 32-bit release, or the 64-bit build of the same sources
// that machines without 32-bit support test instead.
#if defined(_WIN64)
constexpr const char* kBuildName = "64-bit Windows build (x86_64) of the same sources";
constexpr const char* kBuildFolderHint = "build-x86_64/TestBuilder.exe";
#else
constexpr const char* kBuildName = "32-bit Windows release build (i686)";
constexpr const char* kBuildFolderHint = "dist/TestBuilder.exe";
#endif

using WineVersion = const char*(CDECL*)();
using WineHostVersion = void(CDECL*)(const char** system, const char** release);

const char* WineVersionText() {
    auto version = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return version ? version() : nullptr;
}

std::string ProcessorName() {
    wchar_t name[256];
    DWORD size = sizeof name;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                     L"ProcessorNameString", RRF_RT_REG_SZ, nullptr, name, &size) != ERROR_SUCCESS)
        return "unknown processor";
    std::string text;
    for (const wchar_t* c = name; *c; ++c) text += *c < 128 ? static_cast<char>(*c) : '?';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string MachineText() {
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    std::string text = Format("- Build: %s (`%s`), the tool, the baselines and this benchmark alike.\n",
                              kBuildName, kBuildFolderHint);
    text += Format("- Processor: %s, %lu logical processors; %.1f GiB of memory.\n",
                              ProcessorName().c_str(), system.dwNumberOfProcessors,
                              static_cast<double>(memory.ullTotalPhys) / (1024.0 * 1024 * 1024));
    if (const char* wine = WineVersionText()) {
        const char* hostSystem = "?";
        const char* hostRelease = "?";
        auto host = reinterpret_cast<WineHostVersion>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_host_version")));
        if (host) host(&hostSystem, &hostRelease);
        // scripts/wine-run.sh names the loader it started; the build is this program's own.
        wchar_t loader[512] = L"";
        std::string loaderText = "an unnamed loader";
        if (GetEnvironmentVariableW(L"TB_WINE_LOADER", loader, 512) > 0) {
            loaderText = "the loader `";
            for (const wchar_t* c = loader; *c; ++c) loaderText += *c < 128 ? static_cast<char>(*c) : '?';
            loaderText += "`";
        }
        text += Format("- Wine %s on %s %s, started through %s, in a Wine virtual desktop on Xvfb "
                       "(`scripts/with-display.sh`).\n",
                       wine, hostSystem, hostRelease, loaderText.c_str());
    } else {
        // RtlGetVersion, because GetVersionExW reports Windows 8 to a program without a manifest.
        using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        auto rtlGetVersion = reinterpret_cast<RtlGetVersionCall>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
        if (rtlGetVersion) rtlGetVersion(&version);
        text += Format("- Windows %lu.%lu build %lu.\n", version.dwMajorVersion, version.dwMinorVersion,
                       version.dwBuildNumber);
    }
    return text;
}

// GetProcessTimes moves in whole ticks of the system clock (usually 15.6 ms on Windows).
double CpuTickSeconds() {
    DWORD adjustment = 0, increment = 0;
    BOOL disabled = FALSE;
    if (GetSystemTimeAdjustment(&adjustment, &increment, &disabled) && increment) return increment / 1e7;
    return 0.0156;
}

// --- The report ----------------------------------------------------------------------------

struct Row {
    std::string measure, tool, baseline, ratio, target, met;
};

std::string Milliseconds(double seconds) {
    return seconds >= 0.1 ? Format("%.0f ms", seconds * 1000) : Format("%.2f ms", seconds * 1000);
}

std::string Yes(bool met) { return met ? "yes" : "**no**"; }

Row RatioRow(std::string measure, double tool, double baseline, std::string baselineName, double target) {
    double ratio = tool / baseline;
    return {std::move(measure), Milliseconds(tool), Milliseconds(baseline) + " " + baselineName,
            Format("%.2fx", ratio), Format("<= %gx", target), Yes(ratio <= target)};
}

// A start row: the median of the pairs' ratios, with the middle half of them (the lower to the
// upper quartile) beside it; the target is met by that median. The times are each side's median.
Row PairedRow(std::string measure, const StartPairs& pairs, std::string baselineName, double target) {
    std::vector<double> ratios = pairs.Ratios();
    double ratio = Median(ratios);
    return {std::move(measure), Milliseconds(Median(pairs.tool)),
            Milliseconds(Median(pairs.baseline)) + " " + baselineName,
            Format("%.2fx (middle half %.2fx to %.2fx)", ratio, Quantile(ratios, 0.25), Quantile(ratios, 0.75)),
            Format("<= %gx", target), Yes(ratio <= target)};
}

// A baseline below one tick is counted as one tick, so "1.5x" then reads "within one and a half
// ticks of an idle blocking loop"; the absolute values stand beside the ratio.
Row CpuRow(std::string measure, double tool, double baseline, std::string baselineName, double target,
           double tick) {
    double counted = std::max(baseline, tick);
    double ratio = tool / counted;
    std::string ratioText = Format("%.2fx", ratio);
    if (baseline < tick) ratioText += Format(" (baseline counted as %.0f ms)", tick * 1000);
    return {std::move(measure), Milliseconds(tool), Milliseconds(baseline) + " " + baselineName, ratioText,
            target >= 1 ? Format("<= %gx", target) : Format("<= %gx (a fifth)", target), Yes(ratio <= target)};
}

const FileResult* Find(const std::vector<FileResult>& results, const std::string& operation, int megabytes) {
    for (const FileResult& result : results)
        if (result.operation == operation && static_cast<int>(result.megabytes) == megabytes) return &result;
    return nullptr;
}

Row FileRow(const std::vector<FileResult>& results, const std::string& operation, int megabytes,
            const char* what, double target) {
    std::string measure = Format("`%s` of a %d MB %s", operation.c_str(), megabytes, what);
    const FileResult* result = Find(results, operation, megabytes);
    if (!result) return {measure, "not measured", "", "", Format("<= %gx", target), ""};
    Row row = RatioRow(measure, result->operationSeconds, result->readFileSeconds, "(one ReadFile)", target);
    row.measure += Format(" (median of %d)", result->runs);
    return row;
}

std::string Table(const std::vector<Row>& rows) {
    std::string text = "| Measure | Test Builder | Baseline | Ratio | Target | Met |\n"
                       "|---|---:|---:|---:|---|---|\n";
    for (const Row& row : rows)
        text += "| " + row.measure + " | " + row.tool + " | " + row.baseline + " | " + row.ratio + " | " + row.target +
                " | " + row.met + " |\n";
    return text;
}

std::string SizeTable(const std::vector<FileResult>& results, const std::vector<int>& sizes) {
    std::string text = "| Operation |";
    std::string rule = "|---|";
    for (int size : sizes) {
        text += Format(" %d MB |", size);
        rule += "---:|";
    }
    text += " ms per MB, largest / smallest | ratio, largest / smallest |\n" + rule + "---:|---:|\n";
    for (const char* operation :
         {"LoadSettings", "GeneratedTestSourcePath", "ReadWholeFile", "one ReadFile", "one ReadFile, touched buffer"}) {
        std::string name = operation;
        bool baseline = name.rfind("one ReadFile", 0) == 0;
        bool warm = name == "one ReadFile, touched buffer";
        text += baseline ? "| " + name + " (of the log) |" : "| `" + name + "` |";
        double first = 0, last = 0, firstRatio = 0, lastRatio = 0;
        for (int size : sizes) {
            const FileResult* result = Find(results, baseline ? "ReadWholeFile" : operation, size);
            if (!result) {
                text += " - |";
                continue;
            }
            double seconds = warm ? result->warmReadFileSeconds
                                  : baseline ? result->readFileSeconds : result->operationSeconds;
            double perMegabyte = seconds * 1000 / result->megabytes;
            if (first == 0) first = perMegabyte;
            last = perMegabyte;
            double ratio = seconds / result->readFileSeconds;
            if (firstRatio == 0) firstRatio = ratio;
            lastRatio = ratio;
            text += baseline ? Format(" %.1f ms (%.2f ms/MB) |", seconds * 1000, perMegabyte)
                             : Format(" %.1f ms (%.2f ms/MB, %.2fx) |", seconds * 1000, perMegabyte,
                                      seconds / result->readFileSeconds);
        }
        text += first > 0 ? Format(" %.2f |", last / first) : " - |";
        text += firstRatio > 0 && !baseline ? Format(" %.2f |\n", lastRatio / firstRatio) : " - |\n";
    }
    return text;
}

const char* kMethod = R"(## Method

Everything above comes from one run of `make bench`, which cross-builds `bench/` with the same
toolchain and flags as the tool and runs `tb_bench.exe` under Wine. Each number is the median of
the runs shown; a ratio is the tool's median over the baseline's median, except in the start rows,
which are measured in pairs.

- **Start to visible window.** The tool's executable and `bare_dialog.exe` (a dialog built from an
  in-memory template with no controls, same compiler, flags and static runtime, built in the same
  tree) are each copied into a fresh folder and started from there with `CreateProcessW`. The clock
  runs from just before `CreateProcessW` until the benchmark, polling `EnumWindows` every
  millisecond, finds a visible, unowned top-level window of that process. The window is then closed
  with the system close command. One start of each before the measured ones is not counted. The
  second baseline, `startup_dialog.exe`, is the same bare dialog built with the tool's resources
  (icon, manifest, version) and making the start-up calls the tool must make: `CoInitialize`,
  `InitCommonControlsEx` with the tool's classes, its two icons loaded and set, `DragAcceptFiles`,
  and the window brought to the foreground before it is shown, as the tool's modal window is.
  Against it, what is left is the tool's own work.
- **Start rows in pairs.** Wine's process start drifts with what else the machine does, and a
  baseline's own median moved 10 to 15 % from one run of the benchmark to the next: more than
  the difference the second start row measures. So each start row is measured as pairs taken in
  turn, the tool, then its baseline, then the tool again, and so on (the first row's pairs, then
  the second row's), and each pair gives one ratio, the tool's time over its baseline's: both
  starts of a pair see the same moment of the machine, and each side follows the other as often
  as it goes before it. The row's ratio is the median of its pairs' ratios, with the middle half
  of them beside it (from the lower to the upper quartile, interpolated), and "Met" compares that
  median with the target. The times in the Test Builder and Baseline columns are each side's
  median over the same pairs, for scale; the ratio is not their quotient.
- **CPU time while an outside program runs.** The tool, with a settings file that names a test
  file and `outside_program.exe` (which sleeps for the stated time and ends with 0) as the
  framework tool, is clicked "&Add routines"; at the same time the bare dialog is told to start
  the same program and wait for it with a plain `WaitForSingleObject`. The CPU time of each
  (read as for the idle window, below) is taken once its program runs (found by its parent
  process) and again the moment that program has ended. A plain wait costs nothing, so the
  baseline is counted as one tick, as for the idle window; a wait that polls fails the target.
- **CPU time of the idle window.** The tool, the bare dialog with a blocking `GetMessage` loop and
  the bare dialog with a loop that sleeps 1 ms whenever its queue is empty are started together,
  each from its own fresh folder, and left alone: one second after all three windows are visible,
  `GetProcessTimes` (user + kernel) is read, and again after the idle period; the difference is
  the cost of the open, idle window. `GetProcessTimes` moves in ticks of the system clock
  (15.6 ms on Windows); a baseline below one tick is counted as one tick, so against the blocking
  loop the target reads "within one and a half ticks of a program that does nothing", and the
  absolute values stand beside the ratio.
- **Private memory.** `PrivateUsage` of `GetProcessMemoryInfo` (`PROCESS_MEMORY_COUNTERS_EX`) for
  the tool and the blocking bare dialog, read in the idle runs one second after the windows are up.
- **Under Wine** `GetProcessTimes` and `GetProcessMemoryInfo` report 0 for every other process, so
  the benchmark reads the same things from the host instead, for the Unix process that runs each
  program (found by its command line, which names the program's unique folder), through Wine's
  view of `/proc`: the CPU time is the sum of the threads' `schedstat` run times (nanoseconds), the
  private memory is `RssAnon` of `status` (resident anonymous memory, Wine's own share included,
  which is the same for both programs). Work the wineserver does on a program's behalf (every
  `PeekMessage` of the sleeping loop asks it) is not in any program's figure.
- **Files.** `LoadSettings`, `GeneratedTestSourcePath` and `ReadWholeFile` run inside the benchmark
  (linked with `tb_ui`, the libraries the tool is built from) against the least a program can do
  to get the same bytes: `CreateFileW`, `GetFileSize`, a buffer of that size, one `ReadFile`,
  `CloseHandle`, free the buffer. The settings file is written beside the benchmark executable
  (where `LoadSettings` looks), the test file is named by `Settings.active`, and each file is
  written once and then read from the system's cache, the two sides taking turns after one
  warm-up of each. The files hold realistic lines: the twelve settings keys repeated with real-looking
  paths (about 30 bytes a line); a "[quarex]" test file with a "source=" line every thousand
  lines and no "output=" line, so the whole file is read; a compiler log of 80-byte lines. Each
  call is checked for the right result (the last "active=" value, the generated source path, the
  log's length). MB means 2^20 bytes.
- **Fresh memory.** The one ReadFile reads into memory just taken from the system, as a program
  reading a file in one call does, so it pays for the first touch of every page. The last row of
  the size table reads into a buffer that is already touched instead, for comparison: on a
  machine where page faults are expensive (virtual machines) the difference is large, and the
  line readers, which reuse a 64 KB buffer, do not pay it. Where the first touch is cheap, the
  ratios of the line readers move towards their ratios to that last row.
- **Inputs of any size.** Measured first, before anything else reads a large file. A compiler log
  of 100 MB in ordinary lines and one of 10 MiB in one line, from the compiler's end to the box's
  text ready (`ReadFileTail` of its last 64 KiB and `LogTextThatFits` on the primary monitor),
  against one `ReadFile` of those last 64 KiB; a settings file whose second line is 1 GB long,
  loaded, against one `ReadFile` of the whole file. The memory is the process's peak working set
  after the operation's first run over its working set before it, an upper bound of what the
  operation added.

Benchmarks measure; no test asserts a timing.
)";

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 4) {
        std::fprintf(stderr, "usage: tb_bench TOOL.exe BARE_DIALOG.exe REPORT.md [quick]\n");
        return 2;
    }
    Programs programs;
    programs.tool = FullPath(arguments[1]);
    programs.bare = FullPath(arguments[2]);
    std::wstring report = FullPath(arguments[3]);
    bool quick = count > 4 && std::wstring(arguments[4]) == L"quick";
    // The other two baselines are built beside the bare dialog.
    std::wstring benchFolder = programs.bare.substr(0, programs.bare.find_last_of(L"\\/") + 1);
    programs.startup = benchFolder + L"startup_dialog.exe";
    programs.outside = benchFolder + L"outside_program.exe";
    if (!IsFile(programs.tool)) Fail("the tool is not built (run make bench)");
    if (!IsFile(programs.bare) || !IsFile(programs.startup) || !IsFile(programs.outside))
        Fail("the bare dialogs or the outside program are not built");

    std::vector<int> sizes = quick ? std::vector<int>{1, 10} : std::vector<int>{1, 10, 50, 100};
    std::printf("Files:\n");
    std::fflush(stdout);
    std::vector<LargeInputResult> large = MeasureLargeInputs(quick);
    std::vector<FileResult> files = MeasureFiles(sizes, quick);

    int startPairs = quick ? 5 : 51;
    int idleRuns = quick ? 1 : 5;
    double idleSeconds = quick ? 3 : 10;
    int waitRuns = quick ? 1 : 3;
    double waitSeconds = quick ? 3 : 10;
    std::printf("Processes: %d pairs of starts for each start row, %d idle periods of %.0f s, %d waits of %.0f s...\n",
                startPairs,
                idleRuns, idleSeconds, waitRuns, waitSeconds);
    std::fflush(stdout);
    ProcessResults processes = MeasureProcesses(programs, startPairs, idleRuns, idleSeconds, waitRuns, waitSeconds);
    double tick = CpuTickSeconds();
    RemoveTree(BenchFolder());

    std::vector<Row> rows;
    rows.push_back(PairedRow(Format("Start to visible window (median of %d pairs' ratios)", startPairs),
                             processes.bareStart, "(bare dialog)", 1.3));
    rows.push_back(PairedRow(Format("Start to visible window, against the same start-up calls (median of %d pairs' "
                                    "ratios)",
                                    startPairs),
                             processes.startupStart, "(bare dialog with the start-up calls)", 1.05));
    std::string idle = Format("CPU time of the idle window over %.0f s (median of %d%s)", idleSeconds, idleRuns,
                              processes.fromHost ? "; host process, see Method" : "");
    rows.push_back(CpuRow(idle + ", against a blocking loop", Median(processes.toolCpu),
                          Median(processes.blockingCpu), "(bare dialog, blocking loop)", 1.5, tick));
    rows.push_back(CpuRow(idle + ", against a 1 ms sleep loop", Median(processes.toolCpu),
                          Median(processes.sleepingCpu), "(bare dialog, 1 ms sleep loop)", 0.2, tick));
    rows.push_back(CpuRow(Format("CPU time while an outside program runs for %.0f s (median of %d%s)", waitSeconds,
                                 waitRuns, processes.fromHost ? "; host process, see Method" : ""),
                          Median(processes.toolWaitCpu), Median(processes.plainWaitCpu),
                          "(bare dialog, WaitForSingleObject)", 1.5, tick));
    rows.push_back(FileRow(files, "LoadSettings", 10, "settings file", 3));
    rows.push_back(FileRow(files, "GeneratedTestSourcePath", 10, "test file", 3));
    rows.push_back(FileRow(files, "ReadWholeFile", 50, "log", 1.5));
    for (const LargeInputResult& input : large) {
        Row row = RatioRow(input.measure, input.operationSeconds, input.readFileSeconds, input.baseline, 3);
        bool small = input.addedBytes < 64.0 * 1024 * 1024;
        row.tool += Format(", at most %.1f MiB more memory", input.addedBytes / (1024 * 1024));
        row.target += ", memory < 64 MiB";
        if (!small) row.met = Yes(false);
        rows.push_back(row);
    }
    double toolPrivate = Median(processes.toolPrivate), barePrivate = Median(processes.barePrivate);
    rows.push_back({Format("Private memory after start (median of %d%s)", idleRuns,
                           processes.fromHost ? "; RssAnon of the host process, see Method" : ""),
                    Format("%.0f KiB", toolPrivate / 1024), Format("%.0f KiB (bare dialog)", barePrivate / 1024),
                    barePrivate > 0 ? Format("%.2fx", toolPrivate / barePrivate) : "-", "-", "-"});

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string text = "# Performance\n\n";
    text += Format("Measured %04d-%02d-%02d by `make bench`%s, on the %s under Wine (build and loader: see "
                   "Machine). The tool against the cheapest program that does the same job; see Method below.\n\n",
                   now.wYear, now.wMonth, now.wDay, quick ? " (quick mode: fewer, shorter runs)" : "", kBuildName);
    text += Table(rows);
    if (processes.toolForcedEnds)
        text += Format("\nThe tool did not end on the system close command in %d of its runs and was terminated.\n",
                       processes.toolForcedEnds);
    text += "\n## Cost against file size\n\nMedian time of each reader, its cost per MB and its ratio to one "
            "ReadFile of the same file. A reader whose cost grows linearly with the size keeps its cost per MB "
            "level from the smallest file to the largest. The one ReadFile's own cost per MB drifts with the "
            "size too (caches hold 1 MB, not 100 MB; opening and closing weigh more in a small file); the "
            "last column compares the ratios to it, which takes that drift out.\n\n";
    text += SizeTable(files, sizes);
    text += "\n## Start to visible window, each pair\n\nThe tool and its baseline started in turn, pair by "
            "pair; the first row's pairs are all taken before the second row's. The ratio is the tool's time over "
            "its baseline's in the same pair.\n\n| Pair | Test Builder | Bare dialog | Ratio | Test Builder | Bare "
            "dialog with the start-up calls | Ratio |\n|---:|---:|---:|---:|---:|---:|---:|\n";
    std::vector<double> bareRatios = processes.bareStart.Ratios(), startupRatios = processes.startupStart.Ratios();
    for (size_t pair = 0; pair < bareRatios.size() && pair < startupRatios.size(); ++pair)
        text += Format("| %zu | %s | %s | %.2fx | %s | %s | %.2fx |\n", pair + 1,
                       Milliseconds(processes.bareStart.tool[pair]).c_str(),
                       Milliseconds(processes.bareStart.baseline[pair]).c_str(), bareRatios[pair],
                       Milliseconds(processes.startupStart.tool[pair]).c_str(),
                       Milliseconds(processes.startupStart.baseline[pair]).c_str(), startupRatios[pair]);
    text += "\n## Idle CPU time, each run\n\n| Run | Test Builder | Bare dialog, blocking loop | Bare dialog, "
            "1 ms sleep loop |\n|---:|---:|---:|---:|\n";
    for (size_t run = 0; run < processes.toolCpu.size(); ++run)
        text += Format("| %zu | %s | %s | %s |\n", run + 1, Milliseconds(processes.toolCpu[run]).c_str(),
                       Milliseconds(processes.blockingCpu[run]).c_str(),
                       Milliseconds(processes.sleepingCpu[run]).c_str());
    text += "\n## CPU time while an outside program runs, each run\n\n| Run | Test Builder | Bare dialog, "
            "WaitForSingleObject |\n|---:|---:|---:|\n";
    for (size_t run = 0; run < processes.toolWaitCpu.size(); ++run)
        text += Format("| %zu | %s | %s |\n", run + 1, Milliseconds(processes.toolWaitCpu[run]).c_str(),
                       Milliseconds(processes.plainWaitCpu[run]).c_str());
    text += "\n";
    text += kMethod;
    text += "\n## Machine\n\n" + MachineText();

    std::fputs(text.c_str(), stdout);
    FILE* out = _wfopen(report.c_str(), L"wb");
    if (!out) Fail("cannot write the report");
    std::fputs(text.c_str(), out);
    std::fclose(out);
    LocalFree(arguments);
    return 0;
}
