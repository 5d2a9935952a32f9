#include "platform/dll_search.h"

#include <windows.h>

void HardenDllSearch() {
    // Taken by name: Windows 7 without its update has no SetDefaultDllDirectories.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = kernel32 ? reinterpret_cast<SetDefault>(
                                     reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                               : nullptr;
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (setDefault) setDefault(kSearchSystem32);
    SetDllDirectoryW(L"");
}
