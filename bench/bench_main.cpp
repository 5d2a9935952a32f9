// tb_bench TOOL.exe BARE_DIALOG.exe REPORT.md [quick]
// Runs every measurement in one go, prints the table and writes it, with the method and the
// machine, to REPORT.md. "quick" makes fewer, shorter runs for trying the benchmark out; its
// numbers are not the ones to publish.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "file_bench.h"
#include "process_bench.h"
#include "report.h"

namespace {

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
    std::vector<FileResult> files = MeasureFiles(sizes, quick);

    ProcessPlan plan;
    plan.startPairs = quick ? 5 : 51;
    plan.idleRuns = quick ? 1 : 5;
    plan.idleSeconds = quick ? 3 : 10;
    plan.waitRuns = quick ? 1 : 3;
    plan.waitSeconds = quick ? 3 : 10;
    std::printf("Processes: %d pairs of starts for each start row, %d idle periods of %.0f s, %d waits of %.0f s...\n",
                plan.startPairs, plan.idleRuns, plan.idleSeconds, plan.waitRuns, plan.waitSeconds);
    std::fflush(stdout);
    ProcessResults processes = MeasureProcesses(programs, plan);
    RemoveTree(BenchFolder());
    std::string text = ReportText(files, sizes, processes, plan, quick);

    std::fputs(text.c_str(), stdout);
    FILE* out = _wfopen(report.c_str(), L"wb");
    if (!out) Fail("cannot write the report");
    std::fputs(text.c_str(), out);
    std::fclose(out);
    LocalFree(arguments);
    return 0;
}
