#include "ui/dialog_frame.h"

#include <vector>

#include "platform/ansi.h"

namespace {

// A static control's own colours; the brush lives as long as the dialog.
struct StaticColours {
    HWND control = nullptr;
    int textSystemColour = COLOR_WINDOWTEXT;
    COLORREF background = 0;
    HBRUSH brush = nullptr;
};

// What one dialog keeps for itself, so that two open copies of a dialog never share it.
// Owned by the window: attached at creation, freed when the window is gone.
struct FrameState {
    DLGPROC handler = nullptr;
    HWND savedFocus = nullptr;
    std::vector<StaticColours> colours;

    FrameState() = default;
    FrameState(const FrameState&) = delete;
    FrameState& operator=(const FrameState&) = delete;
    ~FrameState() {
        for (StaticColours& entry : colours)
            if (entry.brush) DeleteObject(entry.brush);
    }
};

FrameState* StateOf(HWND dialog) {
    return reinterpret_cast<FrameState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR OnControlColour(FrameState& state, HDC dc, HWND control) {
    for (const StaticColours& entry : state.colours) {
        if (entry.control != control) continue;
        SetTextColor(dc, GetSysColor(entry.textSystemColour));
        SetBkColor(dc, entry.background);
        return reinterpret_cast<INT_PTR>(entry.brush);
    }
    return FALSE;
}

// The dialog procedure of every frame. It passes each message to the window's handler (whose
// result is always 0) and then does what the frame itself owes the window: the system close
// command, control colours, and cleaning up.
INT_PTR CALLBACK FrameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameState* state = StateOf(dialog);
    if (!state) {
        // The WM_INITDIALOG of creation, before any control exists: the handler gets its own
        // WM_INITDIALOG when the dialog is shown.
        if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;
    }

    state->handler(dialog, message, wParam, lParam);
    // The handler may have ended this dialog (or, from a nested dialog, the window around it).
    state = StateOf(dialog);
    if (!state) return FALSE;

    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            EndDialogFrame(dialog);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        return OnControlColour(*state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DESTROY:
        // The modal loop sleeps in GetMessageW; a window destroyed by a message sent from
        // another thread or process would leave it asleep, so wake it to see the window gone.
        PostMessageW(nullptr, WM_NULL, 0, 0);
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        delete state;
        break;
    }
    return FALSE;
}

void AppendWord(std::vector<WORD>& bytes, WORD value) { bytes.push_back(value); }

void AppendDword(std::vector<WORD>& bytes, DWORD value) {
    bytes.push_back(LOWORD(value));
    bytes.push_back(HIWORD(value));
}

void AppendText(std::vector<WORD>& bytes, const std::wstring& text) {
    for (wchar_t unit : text) bytes.push_back(static_cast<WORD>(unit));
    bytes.push_back(0);
}

// An empty DLGTEMPLATE with the caption and the font; controls are added afterwards.
std::vector<WORD> EmptyTemplate(const std::wstring& caption, DWORD style, DWORD exStyle) {
    std::vector<WORD> words;
    AppendDword(words, (style & ~WS_VISIBLE) | DS_SETFONT);
    AppendDword(words, exStyle);
    AppendWord(words, 0);  // no controls in the template
    AppendWord(words, 0);  // x, y, cx, cy in dialog units; the size is set in pixels later
    AppendWord(words, 0);
    AppendWord(words, 0);
    AppendWord(words, 0);
    AppendWord(words, 0);  // no menu
    AppendWord(words, 0);  // the standard dialog class
    AppendText(words, caption);
    AppendWord(words, 8);  // point size
    AppendText(words, L"MS Sans Serif");
    return words;
}

// Sets the outer size so that the client area is exactly the given pixels. The frame is
// measured on the window itself after a first estimate, so every frame thickness fits.
void SizeClientArea(HWND dialog, int clientWidth, int clientHeight) {
    RECT wanted = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&wanted, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT outer, client;
        GetWindowRect(dialog, &outer);
        GetClientRect(dialog, &client);
        if (client.right == clientWidth && client.bottom == clientHeight) return;
        SetWindowPos(dialog, nullptr, 0, 0,
                     outer.right - outer.left + clientWidth - client.right,
                     outer.bottom - outer.top + clientHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

HWND CreateDialogFrame(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle,
                       int clientWidth, int clientHeight, DLGPROC handler) {
    std::vector<WORD> dialogTemplate = EmptyTemplate(caption, style, exStyle);
    auto* state = new FrameState;
    state->handler = handler;
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        owner, FrameProc, reinterpret_cast<LPARAM>(state));
    if (!dialog) {
        delete state;
        return nullptr;
    }
    SizeClientArea(dialog, clientWidth, clientHeight);
    return dialog;
}

HWND AddControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                int x, int y, int width, int height, DWORD style, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), style, x, y, width, height,
                                   dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control) SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void SetStaticColours(HWND control, int textSystemColour, COLORREF background) {
    FrameState* state = StateOf(GetParent(control));
    if (!state) return;
    StaticColours entry;
    entry.control = control;
    entry.textSystemColour = textSystemColour;
    entry.background = background;
    entry.brush = CreateSolidBrush(background);
    state->colours.push_back(entry);
    InvalidateRect(control, nullptr, TRUE);
}

INT_PTR RunModalDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_INITDIALOG, 0, 0);
    RECT client;
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ShowWindow(dialog, SW_SHOW);

    while (IsWindow(dialog)) {
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // WM_QUIT ends this loop and, posted again, every loop outside it.
            EndDialogFrame(dialog);
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

void EndDialogFrame(HWND dialog) {
    if (!IsWindow(dialog)) return;
    if (FrameState* state = StateOf(dialog)) state->handler(dialog, WM_CLOSE, 0, 0);
    DestroyWindow(dialog);
}

void SaveFocusOnDeactivate(HWND dialog) {
    if (FrameState* state = StateOf(dialog)) state->savedFocus = GetFocus();
}

void RestoreFocusOnActivate(HWND dialog) {
    FrameState* state = StateOf(dialog);
    if (!state || !state->savedFocus) return;
    SetFocus(state->savedFocus);
    state->savedFocus = nullptr;
}

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return ToAnsi(text);
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, ToWide(text).c_str());
}
