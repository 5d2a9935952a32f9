#pragma once
// Functions of user32.dll newer than the oldest Windows the tool runs on, taken by name.
#include <windows.h>

// The function of that name; null where the system has none.
template <typename Function>
Function User32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}
