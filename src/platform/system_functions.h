#pragma once
// System functions taken by name: those newer than the oldest Windows the tool runs on, and
// those of libraries loaded only when first needed.
#include <windows.h>

#include <string>

// The function of user32.dll of that name; null where the system has none.
template <typename Function>
Function User32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The function of that name in `library` (a file name such as L"comdlg32.dll"), loaded from the
// system folder and never from the program's own or the current one; null where there is none.
// The library stays loaded. Callers keep the result, so each library is looked up once.
template <typename Function>
Function SystemLibraryFunction(const wchar_t* library, const char* name) {
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HMODULE loaded = LoadLibraryW((std::wstring(system, length) + L"\\" + library).c_str());
    return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}
