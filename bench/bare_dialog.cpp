// A dialog with nothing in it: the yardstick the benchmark holds Test Builder against.
//   bare_dialog.exe          a blocking GetMessage loop
//   bare_dialog.exe sleep    a loop that sleeps 1 ms whenever its queue is empty
// Built like the tool (same compiler, flags and static runtime) so that the difference in start
// time, idle CPU time and memory is what the tool itself adds.
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    bool sleepLoop = std::strstr(commandLine, "sleep") != nullptr;
    std::vector<WORD> dialogTemplate = BareTemplate();
    HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()),
                                             nullptr, BareDialogProc, 0);
    if (!dialog) return 1;
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
    return 0;
}
