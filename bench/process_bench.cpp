// Start time, idle CPU time and private memory of Test Builder and of the bare dialog. Every
// program runs as a separate process, started from a copy in a folder of its own, so no run
// finds a settings file or anything else an earlier run left behind.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>

#include "bench.h"

namespace {

constexpr DWORD kVisibleTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;

struct Child {
    std::wstring folder;
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    std::wstring host;  // under Wine: the host's /proc folder of the Unix process that runs it
};

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

// Copies the program into a fresh folder.
std::wstring CopyIntoFreshFolder(const std::wstring& program, Child& child) {
    child.folder = FreshFolder(L"run");
    std::wstring copy = child.folder + FileName(program);
    if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) Fail("cannot copy " + Narrow(program));
    return copy;
}

// Starts the copy in its folder; gives the time just before CreateProcess.
double StartInFolder(const std::wstring& copy, const wchar_t* arguments, Child& child) {
    std::wstring commandLine = L"\"" + copy + L"\"";
    if (arguments) commandLine += std::wstring(L" ") + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    double started = Now();
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, child.folder.c_str(),
                        &startup, &child.process))
        Fail("cannot start " + Narrow(copy));
    return started;
}

// Copies the program into a fresh folder; the clock starts after the copy, just before
// CreateProcess, and the started process runs in that folder.
double StartCopy(const std::wstring& program, const wchar_t* arguments, Child& child) {
    return StartInFolder(CopyIntoFreshFolder(program, child), arguments, child);
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->found = window;
    return FALSE;
}

// Polls every millisecond until the process has a visible, unowned top-level window; gives the
// time it was first seen.
double WaitVisible(Child& child) {
    DWORD deadline = GetTickCount() + kVisibleTimeoutMs;
    for (;;) {
        WindowSearch search{child.process.dwProcessId, nullptr};
        EnumWindows(MatchVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            child.window = search.found;
            return Now();
        }
        if (WaitForSingleObject(child.process.hProcess, 0) == WAIT_OBJECT_0) Fail("a started program ended early");
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) Fail("no visible window within 30 s");
        Sleep(1);
    }
}

// Closes the window the way a user does (the system close command) and waits for the process;
// one that does not end is terminated and counted. Returns true when it ended by itself.
bool EndChild(Child& child) {
    bool clean = true;
    if (child.process.hProcess) {
        if (child.window) PostMessageW(child.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (WaitForSingleObject(child.process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(child.process.hProcess, 1);
            WaitForSingleObject(child.process.hProcess, kCloseTimeoutMs);
            clean = false;
        }
        CloseHandle(child.process.hThread);
        CloseHandle(child.process.hProcess);
        child.process = {};
    }
    RemoveTree(child.folder);
    return clean;
}

double StartToVisible(const std::wstring& program, const wchar_t* arguments, int& forcedEnds) {
    Child child;
    double started = StartCopy(program, arguments, child);
    double elapsed = WaitVisible(child) - started;
    if (!EndChild(child)) ++forcedEnds;
    return elapsed;
}

// --- What a process costs ----------------------------------------------------------------
// On Windows, GetProcessTimes and GetProcessMemoryInfo. Under Wine both know nothing of another
// process (its times and PrivateUsage read 0), so there the benchmark asks the host system about
// the Unix process that runs the Windows one, through Wine's view of /proc.

using WineDosFileName = WCHAR*(CDECL*)(const char* unixPath);

// "Z:\proc\" or the like under Wine; empty on Windows.
const std::wstring& HostProc() {
    static std::wstring proc = [] {
        std::wstring path;
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return path;
        auto dosName = reinterpret_cast<WineDosFileName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
        WCHAR* name = dosName ? dosName("/proc") : nullptr;
        if (!name) Fail("under Wine, but /proc cannot be reached");
        path = std::wstring(name) + L"\\";
        HeapFree(GetProcessHeap(), 0, name);
        return path;
    }();
    return proc;
}

// A /proc file is read until the end, as it has no size.
std::string ReadHostFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// The host process whose command line names the child's own folder (unique to this run).
std::wstring FindHostProcess(const Child& child) {
    std::string folder = Narrow(child.folder);
    folder = folder.substr(0, folder.size() - 1);                           // without the last "\"
    std::string runFolder = folder.substr(folder.find_last_of('\\') + 1);   // "run_N"
    std::string benchFolder = folder.substr(0, folder.size() - runFolder.size() - 1);
    benchFolder = benchFolder.substr(benchFolder.find_last_of('\\') + 1);  // "tb_bench_PID"
    std::string wanted = benchFolder + "\\" + runFolder + "\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((HostProc() + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) Fail("cannot list /proc");
    std::wstring match;
    do {
        std::wstring name = found.cFileName;
        if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string commandLine = ReadHostFile(HostProc() + name + L"\\cmdline");
        for (char& c : commandLine) c = c == '/' ? '\\' : c;
        if (commandLine.find(wanted) != std::string::npos) {
            match = HostProc() + name + L"\\";
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    if (match.empty()) Fail("no host process runs " + folder);
    return match;
}

// Nanoseconds on a processor, summed over the threads (/proc/PID/task/TID/schedstat).
double HostCpuSeconds(const std::wstring& process) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((process + L"task\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) Fail("cannot list the threads of a host process");
    double total = 0;
    do {
        std::wstring name = found.cFileName;
        if (name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string stat = ReadHostFile(process + L"task\\" + name + L"\\schedstat");
        total += std::strtod(stat.c_str(), nullptr) / 1e9;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return total;
}

// Resident private (anonymous) memory of the host process: RssAnon of /proc/PID/status.
double HostPrivateBytes(const std::wstring& process) {
    std::string status = ReadHostFile(process + L"status");
    size_t at = status.find("RssAnon:");
    if (at == std::string::npos) Fail("no RssAnon in /proc/PID/status");
    return std::strtod(status.c_str() + at + 8, nullptr) * 1024;
}

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double CpuSeconds(Child& child) {
    if (!HostProc().empty()) {
        if (child.host.empty()) child.host = FindHostProcess(child);
        return HostCpuSeconds(child.host);
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(child.process.hProcess, &created, &exited, &kernel, &user)) Fail("GetProcessTimes failed");
    return Seconds(kernel) + Seconds(user);
}

double PrivateBytes(Child& child) {
    if (!HostProc().empty()) {
        if (child.host.empty()) child.host = FindHostProcess(child);
        return HostPrivateBytes(child.host);
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(child.process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        Fail("GetProcessMemoryInfo failed");
    return static_cast<double>(counters.PrivateUsage);
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
    HANDLE running[2] = {WaitForChildOf(tool.process.dwProcessId), WaitForChildOf(plain.process.dwProcessId)};
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

ProcessResults MeasureProcesses(const Programs& programs, int startPairs, int idleRuns, double idleSeconds,
                                int waitRuns, double waitSeconds) {
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
