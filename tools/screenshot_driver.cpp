// Drives a running Test Builder for `make screenshots`: starts it, waits for each window to be
// fully built, writes the window's outer rectangle to a file for the script that takes the
// picture, and goes on when the script answers with a second file. With "main", only the main
// window is pictured.
// Usage: screenshot_driver TOOL.EXE FOLDER [main]
#include <windows.h>

#include <cstdio>
#include <string>

#include "start_process.h"

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A visible window of that caption whose last control exists.
HWND WaitForWindow(const wchar_t* caption, int lastControl) {
    for (int tries = 0; tries < 600; ++tries) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window && IsWindowVisible(window) && GetDlgItem(window, lastControl)) return window;
        Sleep(50);
    }
    return nullptr;
}

// Hands the window's rectangle to the script and waits until the picture is taken.
bool Photograph(HWND window, const std::wstring& folder, const wchar_t* name) {
    Sleep(500);  // let the window paint completely
    RECT outer;
    GetWindowRect(window, &outer);
    std::wstring rectFile = folder + L"\\" + name + L".rect";
    FILE* file = _wfopen((rectFile + L".part").c_str(), L"w");
    if (!file) return false;
    std::fprintf(file, "%ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top);
    std::fclose(file);
    MoveFileW((rectFile + L".part").c_str(), rectFile.c_str());
    std::wstring done = folder + L"\\" + name + L".done";
    for (int tries = 0; tries < 600 && !Exists(done); ++tries) Sleep(50);
    return Exists(done);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) return 2;
    std::wstring folder = argv[2];
    bool mainOnly = argc == 4 && std::wstring(argv[3]) == L"main";
    StartedProcess process = StartProcess(L"\"" + std::wstring(argv[1]) + L"\"", folder.c_str());
    if (!process) return 3;

    int result = 0;
    HWND main = WaitForWindow(L"Test Builder", 1060);
    if (!main || !Photograph(main, folder, L"main")) result = 4;

    HWND configure = nullptr;
    if (result == 0 && !mainOnly) {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(1015, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(main, 1015)));
        configure = WaitForWindow(L"Configure", 1034);
        if (!configure || !Photograph(configure, folder, L"configure")) result = 5;
    }

    if (configure) PostMessageW(configure, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (int tries = 0; tries < 100 && configure && IsWindow(configure); ++tries) Sleep(50);
    if (main) PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (WaitForSingleObject(process.Handle(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.Handle(), 1);
        result = result ? result : 6;
    }
    return result;
}
