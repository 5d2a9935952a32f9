#include "machine.h"

#include <windows.h>

#include "bench_support.h"

namespace {

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

}  // namespace

const char* BuildName() { return kBuildName; }

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

double CpuTickSeconds() {
    DWORD adjustment = 0, increment = 0;
    BOOL disabled = FALSE;
    if (GetSystemTimeAdjustment(&adjustment, &increment, &disabled) && increment) return increment / 1e7;
    return 0.0156;
}
