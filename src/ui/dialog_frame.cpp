#include "ui/dialog_frame.h"

#include <memory>
#include <vector>

#include "platform/ansi.h"
#include "platform/responsive_wait.h"
#include "ui/during_wait.h"
#include "ui/dialog_scale.h"
#include "ui/frame_state.h"
#include "ui/static_colours.h"

namespace {

INT_PTR OnSystemCommand(HWND dialog, WPARAM wParam) {
    if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
    EndDialogFrame(dialog);
    return TRUE;
}

// The dialog manager answers with the font it made; after a change of scale the frame's own
// font is the dialog's.
INT_PTR OnGetFont(HWND dialog, const FrameState& state) {
    if (!state.font) return FALSE;
    return AnswerWith(dialog, reinterpret_cast<LONG_PTR>(state.font.Get()));
}

// The modal loop sleeps in GetMessageW; a window destroyed by a message sent from another
// thread or process would leave it asleep, so it is woken to see the window gone.
void OnDestroy() { PostMessageW(nullptr, WM_NULL, 0, 0); }

// WM_NCACTIVATE: losing activation remembers the control with the keyboard focus, gaining it
// gives that control the focus back once.
void OnActivationChange(FrameState& state, bool active) {
    if (!active) {
        state.savedFocus = GetFocus();
        return;
    }
    if (!state.savedFocus) return;
    SetFocus(state.savedFocus);
    state.savedFocus = nullptr;
}

// The window owned its state from creation; it goes with the window.
void OnFinalDestroy(HWND dialog, FrameState* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    std::unique_ptr<FrameState> owned(state);
}

// The dialog procedure of every frame. It passes each message to the window's handler and then
// does what the frame itself owes the window.
INT_PTR CALLBACK FrameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameState* state = StateOf(dialog);
    if (!state) {
        // The WM_INITDIALOG of creation, before any control exists: the handler gets its own
        // WM_INITDIALOG when the dialog is shown.
        if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;
    }
    // Nothing the user does acts inside a wait for an outside program.
    if (LaunchWaitInProgress() && AnswerDuringWait(dialog, message, wParam, lParam, state->closingEndsTool))
        return TRUE;

    state->handler(dialog, message, wParam, lParam);
    // The handler may have ended this dialog (or, from a nested dialog, the window around it).
    state = StateOf(dialog);
    if (!state) return FALSE;

    switch (message) {
    case WM_SYSCOMMAND: return OnSystemCommand(dialog, wParam);
    case WM_NCACTIVATE: OnActivationChange(*state, wParam != 0); break;
    case WM_CTLCOLORSTATIC:
        return OnControlColour(*state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE: OnColourSchemeChange(dialog, *state, true); break;
    // High contrast switched on or off comes as SPI_SETHIGHCONTRAST; for any other setting the
    // colours stay, and nothing is drawn again.
    case WM_SETTINGCHANGE: OnColourSchemeChange(dialog, *state, false); break;
    case WM_GETFONT: return OnGetFont(dialog, *state);
    case WM_GETDPISCALEDSIZE: return OnGetDpiScaledSize(dialog, *state, wParam, lParam);
    case WM_DPICHANGED: return OnDpiChanged(dialog, *state, wParam, lParam);
    case WM_DESTROY: OnDestroy(); break;
    case WM_NCDESTROY: OnFinalDestroy(dialog, state); break;
    }
    return FALSE;
}

void AppendWord(std::vector<WORD>& words, WORD value) { words.push_back(value); }

void AppendDword(std::vector<WORD>& words, DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

void AppendText(std::vector<WORD>& words, const std::wstring& text) {
    for (wchar_t unit : text) words.push_back(static_cast<WORD>(unit));
    words.push_back(0);
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
    AppendWord(words, kFrameFontPoints);
    AppendText(words, kFrameFontFace);
    return words;
}

}  // namespace

HWND CreateDialogFrame(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle,
                       int clientWidth, int clientHeight, FrameHandler handler) {
    std::vector<WORD> dialogTemplate = EmptyTemplate(caption, style, exStyle);
    auto state = std::make_unique<FrameState>();
    state->handler = handler;
    state->clientWidth = clientWidth;
    state->clientHeight = clientHeight;
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        owner, FrameProc, reinterpret_cast<LPARAM>(state.get()));
    if (!dialog) return nullptr;
    // Handed to the window, which frees it on WM_NCDESTROY.
    FrameState& held = *state.release();
    ScaleNewDialog(dialog, held);
    return dialog;
}

HWND AddControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                int x, int y, int width, int height, DWORD style, DWORD exStyle) {
    FrameState* state = StateOf(dialog);
    PlacedControl placed{nullptr, x, y, width, height};
    int dpi = state ? state->dpi : 96;
    placed.control = CreateWindowExW(exStyle, className, text.c_str(), style, ScaleToDpi(x, dpi),
                                     ScaleToDpi(y, dpi), ScaleToDpi(width, dpi), ScaleToDpi(height, dpi),
                                     dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     GetModuleHandleW(nullptr), nullptr);
    if (!placed.control) return nullptr;
    ScaleNewControl(dialog, placed.control);
    if (state) state->controls.push_back(placed);
    return placed.control;
}

void AddControls(HWND dialog, std::span<const ControlLayout> controls) {
    for (const ControlLayout& control : controls)
        AddControl(dialog, control.id, control.kind->className, control.text, control.x, control.y,
                   control.width, control.height, control.kind->style, control.kind->exStyle);
}

void SetFrameRecord(HWND dialog, SettingsRecord& record) {
    if (FrameState* state = StateOf(dialog)) state->record = &record;
}

SettingsRecord* FrameRecord(HWND dialog) {
    FrameState* state = StateOf(dialog);
    return state ? state->record : nullptr;
}

void SetDialogAccelerators(HWND dialog, HACCEL accelerators) {
    UniqueAccelerators owned(accelerators);
    if (FrameState* state = StateOf(dialog)) state->accelerators = std::move(owned);
}

HACCEL DialogAccelerators(HWND dialog) {
    FrameState* state = StateOf(dialog);
    return state ? state->accelerators.Get() : nullptr;
}

void SetClosingEndsTool(HWND dialog) {
    if (FrameState* state = StateOf(dialog)) state->closingEndsTool = true;
}

void EndDialogFrame(HWND dialog) {
    if (!IsWindow(dialog)) return;
    if (FrameState* state = StateOf(dialog)) state->handler(dialog, WM_CLOSE, 0, 0);
    DestroyWindow(dialog);
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
