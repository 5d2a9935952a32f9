// Start time, idle CPU time and private memory of Test Builder and of the bare dialog, and what
// the tool costs while it waits for an outside program. Every program runs as a separate process,
// started from a copy in a folder of its own, so no run finds a settings file or anything else an
// earlier run left behind.
#include "process_bench.h"

#include <windows.h>
#include <tlhelp32.h>

#include "bench_support.h"
#include "child_runs.h"
#include "process_costs.h"

namespace {

double StartToVisible(const std::wstring& program, const wchar_t* arguments, int& forcedEnds) {
    Child child;
    double started = StartCopy(program, arguments, child);
    double elapsed = WaitVisible(child) - started;
    if (!EndChild(child)) ++forcedEnds;
    return elapsed;
}

// --- Waiting for an outside program ------------------------------------------------------

// The outside program a parent process has started, once it runs (opened to wait for it).
HANDLE WaitForChildOf(DWORD parent) {
    DWORD deadline = GetTickCount() + kVisibleTimeoutMs;
    for (;;) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            DWORD found = 0;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
                if (entry.th32ParentProcessID == parent) found = entry.th32ProcessID;
            CloseHandle(snapshot);
            if (found) {
                if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, found)) return child;
            }
        }
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) Fail("the outside program did not start within 30 s");
        Sleep(1);
    }
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        Fail("cannot write " + Narrow(path));
    CloseHandle(file);
}

// The tool (running "&Add routines") and the plain wait each start the outside program, at the
// same time, from their own folders; each one's CPU time is read once its program runs and again
// the moment that program has ended.
void MeasureWait(const Programs& programs, ProcessResults& results) {
    Child tool, plain;
    // The tool's settings name a test file and the outside program as the framework tool.
    std::wstring toolCopy = CopyIntoFreshFolder(programs.tool, tool);
    std::wstring quarex = tool.folder + L"quarex.exe";
    if (!CopyFileW(programs.outside.c_str(), quarex.c_str(), FALSE)) Fail("cannot copy the outside program");
    WriteTextFile(tool.folder + L"bench.test", "[quarex]\r\nsource=" + Narrow(tool.folder) + "bench.bas\r\n");
    WriteTextFile(tool.folder + L"TestBuilder.ini",
                  "active=" + Narrow(tool.folder) + "bench.test\r\nquarex=" + Narrow(quarex) + "\r\n");
    std::wstring plainCopy = CopyIntoFreshFolder(programs.bare, plain);
    std::wstring plainQuarex = plain.folder + L"quarex.exe";
    if (!CopyFileW(programs.outside.c_str(), plainQuarex.c_str(), FALSE)) Fail("cannot copy the outside program");
    std::wstring waitArguments = L"wait \"" + plainQuarex + L"\"";
    StartInFolder(toolCopy, nullptr, tool);
    StartInFolder(plainCopy, waitArguments.c_str(), plain);
    WaitVisible(tool);
    WaitVisible(plain);
    Sleep(1000);  // past the start-up work
    // Under Wine this finds each one's host process while its folder names it alone: the outside
    // program about to start runs from the same folder.
    CpuSeconds(tool);
    CpuSeconds(plain);

    HWND addRoutines = GetDlgItem(tool.window, 1012);
    if (!addRoutines) Fail("the tool's window has no \"&Add routines\" button");
    PostMessageW(addRoutines, BM_CLICK, 0, 0);
    PostMessageW(plain.window, WM_APP, 0, 0);
    Child* parents[2] = {&tool, &plain};
    HANDLE running[2] = {WaitForChildOf(tool.process.Id()), WaitForChildOf(plain.process.Id())};
    double start[2] = {CpuSeconds(tool), CpuSeconds(plain)};
    double used[2] = {0, 0};
    int order[2] = {0, 1};  // which parent each entry of `running` belongs to
    for (int left = 2; left > 0; --left) {
        DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(left), running, FALSE,
                                            static_cast<DWORD>(results.waitSeconds * 1000) + 60000);
        if (woke >= WAIT_OBJECT_0 + static_cast<DWORD>(left)) Fail("the outside program did not end");
        int entry = static_cast<int>(woke - WAIT_OBJECT_0);
        int parent = order[entry];
        used[parent] = CpuSeconds(*parents[parent]) - start[parent];
        CloseHandle(running[entry]);
        // The one still running moves to the front for the next wait.
        running[entry] = running[left - 1];
        order[entry] = order[left - 1];
    }
    results.toolWaitCpu.push_back(used[0]);
    results.plainWaitCpu.push_back(used[1]);
    Sleep(500);  // the tool's beep for the finished command, the plain wait's return
    if (!EndChild(tool)) ++results.toolForcedEnds;
    EndChild(plain);
}

}  // namespace

std::vector<double> StartPairs::Ratios() const {
    std::vector<double> ratios;
    for (size_t pair = 0; pair < tool.size() && pair < baseline.size(); ++pair)
        ratios.push_back(tool[pair] / baseline[pair]);
    return ratios;
}

ProcessResults MeasureProcesses(const Programs& programs, const ProcessPlan& plan) {
    const int startPairs = plan.startPairs, idleRuns = plan.idleRuns, waitRuns = plan.waitRuns;
    const double idleSeconds = plan.idleSeconds, waitSeconds = plan.waitSeconds;
    const std::wstring& tool = programs.tool;
    const std::wstring& bare = programs.bare;
    const std::wstring& startup = programs.startup;
    ProcessResults results;
    results.idleSeconds = idleSeconds;
    results.waitSeconds = waitSeconds;
    results.fromHost = !HostProc().empty();
    int bareForcedEnds = 0;

    // One start of each first, not counted: it pays for loading the system's libraries from disk.
    StartToVisible(tool, nullptr, results.toolForcedEnds);
    StartToVisible(bare, nullptr, bareForcedEnds);
    StartToVisible(startup, nullptr, bareForcedEnds);

    // Each start row as pairs, the tool and its baseline in turn: the two starts of a pair see the
    // same moment of the machine, and each side follows the other as often as it goes before it.
    // Wine's start drifts over a run by more than the difference measured, and within a pair that
    // drift cancels.
    auto measurePairs = [&](const std::wstring& baseline, StartPairs& pairs) {
        for (int pair = 0; pair < startPairs; ++pair) {
            pairs.tool.push_back(StartToVisible(tool, nullptr, results.toolForcedEnds));
            pairs.baseline.push_back(StartToVisible(baseline, nullptr, bareForcedEnds));
        }
    };
    measurePairs(bare, results.bareStart);
    measurePairs(startup, results.startupStart);

    // The outside program's run time reaches it through the environment the tool passes on.
    SetEnvironmentVariableW(L"TB_BENCH_CHILD_MS", std::to_wstring(static_cast<int>(waitSeconds * 1000)).c_str());
    for (int run = 0; run < waitRuns; ++run) MeasureWait(programs, results);

    // The three idle windows are open at the same time, over the same seconds.
    for (int run = 0; run < idleRuns; ++run) {
        Child toolChild, blocking, sleeping;
        StartCopy(tool, nullptr, toolChild);
        StartCopy(bare, nullptr, blocking);
        StartCopy(bare, L"sleep", sleeping);
        WaitVisible(toolChild);
        WaitVisible(blocking);
        WaitVisible(sleeping);
        Sleep(1000);  // past the start-up work

        results.toolPrivate.push_back(PrivateBytes(toolChild));
        results.barePrivate.push_back(PrivateBytes(blocking));
        double tool0 = CpuSeconds(toolChild);
        double blocking0 = CpuSeconds(blocking);
        double sleeping0 = CpuSeconds(sleeping);
        Sleep(static_cast<DWORD>(idleSeconds * 1000));
        results.toolCpu.push_back(CpuSeconds(toolChild) - tool0);
        results.blockingCpu.push_back(CpuSeconds(blocking) - blocking0);
        results.sleepingCpu.push_back(CpuSeconds(sleeping) - sleeping0);

        if (!EndChild(toolChild)) ++results.toolForcedEnds;
        EndChild(blocking);
        EndChild(sleeping);
    }
    if (bareForcedEnds) Fail("the bare dialog did not end on the system close command");
    return results;
}
