#include "process_costs.h"

#include <windows.h>
#include <psapi.h>

#include <cstdlib>

#include "bench_support.h"
#include "read_shared_file.h"

namespace {

using WineDosFileName = WCHAR*(CDECL*)(const char* unixPath);

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
        std::string commandLine = ReadSharedFile(HostProc() + name + L"\\cmdline");
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
        std::string stat = ReadSharedFile(process + L"task\\" + name + L"\\schedstat");
        total += std::strtod(stat.c_str(), nullptr) / 1e9;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return total;
}

// Resident private (anonymous) memory of the host process: RssAnon of /proc/PID/status.
double HostPrivateBytes(const std::wstring& process) {
    std::string status = ReadSharedFile(process + L"status");
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

}  // namespace

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

double CpuSeconds(Child& child) {
    if (!HostProc().empty()) {
        if (child.host.empty()) child.host = FindHostProcess(child);
        return HostCpuSeconds(child.host);
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(child.process.Handle(), &created, &exited, &kernel, &user)) Fail("GetProcessTimes failed");
    return Seconds(kernel) + Seconds(user);
}

double PrivateBytes(Child& child) {
    if (!HostProc().empty()) {
        if (child.host.empty()) child.host = FindHostProcess(child);
        return HostPrivateBytes(child.host);
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(child.process.Handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        Fail("GetProcessMemoryInfo failed");
    return static_cast<double>(counters.PrivateUsage);
}
