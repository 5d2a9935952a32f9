// A dialog with nothing in it: the yardstick the benchmark holds Test Builder against.
//   bare_dialog.exe              a blocking GetMessage loop
//   bare_dialog.exe sleep        a loop that sleeps 1 ms whenever its queue is empty
//   bare_dialog.exe wait PROGRAM on WM_APP, starts PROGRAM and waits for it with a plain
//                                WaitForSingleObject (the window meanwhile answers nothing)
// Built like the tool (same compiler, flags and static runtime) so that the difference in start
// time, idle CPU time and memory is what the tool itself adds.
//
// Built a second time as startup_dialog.exe (TB_STARTUP_CALLS) with the tool's resources (icon,
// manifest for the common controls 6, version): the same dialog making the start-up calls the
// tool must make (COM, the common controls, drag and drop, its icons, its placement), so that
// what is left of the difference is the tool's own work.
#include <windows.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "start_process.h"

#ifdef TB_STARTUP_CALLS
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#endif

namespace {

// The program to start and wait for on WM_APP ("wait" mode); empty otherwise.
std::wstring waitProgram;

void StartAndWait() {
    if (waitProgram.empty()) return;
    StartedProcess process = StartProcess(L"\"" + waitProgram + L"\"", nullptr, NORMAL_PRIORITY_CLASS);
    if (process) WaitForSingleObject(process.Handle(), INFINITE);
}

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_APP:
        StartAndWait();
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void AppendText(std::vector<WORD>& words, const wchar_t* text) {
    do words.push_back(static_cast<WORD>(*text));
    while (*text++);
}

// An in-memory template: caption, system menu, minimize box, the tool's font; no controls.
std::vector<WORD> BareTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = DS_SETFONT | DS_3DLOOK | DS_NOFAILCREATE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                    WS_CLIPSIBLINGS;
    header->dwExtendedStyle = WS_EX_CONTROLPARENT;
    header->cdit = 0;
    header->x = 10;
    header->y = 10;
    header->cx = 172;  // about 258 x 170 pixels with this font
    header->cy = 106;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    AppendText(words, L"Bare Dialog");
    words.push_back(8);  // points
    AppendText(words, L"MS Sans Serif");
    return words;
}

void Dispatch(HWND dialog, MSG& message) {
    if (IsDialogMessageW(dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

#ifdef TB_STARTUP_CALLS
void MakeStartUpCalls() {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&controls);
}

void SetIconsAndAcceptDrops(HINSTANCE instance, HWND dialog) {
    for (auto [which, width, height] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                        std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(width),
                                                  GetSystemMetrics(height), 0));
        SendMessageW(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
    DragAcceptFiles(dialog, TRUE);
}

// The tool moves its hidden window onto the primary work area's bottom-right corner with this
// one call.
void PlaceAtBottomRight(HWND dialog) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT outer;
    if (!GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
        !GetWindowRect(dialog, &outer))
        return;
    SetWindowPos(dialog, nullptr, monitor.rcWork.right - (outer.right - outer.left),
                 monitor.rcWork.bottom - (outer.bottom - outer.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    bool sleepLoop = std::strstr(commandLine, "sleep") != nullptr;
    if (const char* wait = std::strstr(commandLine, "wait ")) {
        std::string program = wait + 5;
        if (!program.empty() && program.front() == '"') program = program.substr(1, program.find('"', 1) - 1);
        waitProgram.assign(program.begin(), program.end());  // the benchmark's paths are ASCII
    }
#ifdef TB_STARTUP_CALLS
    MakeStartUpCalls();
#endif
    std::vector<WORD> dialogTemplate = BareTemplate();
    HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()),
                                             nullptr, BareDialogProc, 0);
    if (!dialog) return 1;
#ifdef TB_STARTUP_CALLS
    SetIconsAndAcceptDrops(instance, dialog);
    PlaceAtBottomRight(dialog);
    // The tool brings its window to the foreground before showing it, as a modal window is.
    SetForegroundWindow(dialog);
#endif
    ShowWindow(dialog, SW_SHOW);

    MSG message;
    if (sleepLoop) {
        for (;;) {
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                Sleep(1);
                continue;
            }
            if (message.message == WM_QUIT) break;
            Dispatch(dialog, message);
        }
    } else {
        while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(dialog, message);
    }
#ifdef TB_STARTUP_CALLS
    CoUninitialize();
#endif
    return 0;
}
