#pragma once
// Reading a whole file from a test, a stand-in or the benchmark, shared for reading, writing and
// deletion, so that the reader never makes the tool's own opens or replaces fail. Read until the
// end rather than by size, since /proc files have none. Header only, like start_process.h.
#include <windows.h>

#include <string>

inline std::string ReadSharedFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}
