#include "bench_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

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

std::wstring BenchFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) Fail("no temporary folder");
    return std::wstring(temp, length) + L"tb_bench_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
}

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

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}
