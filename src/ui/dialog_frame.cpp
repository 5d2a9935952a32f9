#include "ui/dialog_frame.h"

#include <vector>

#include "platform/ansi.h"
#include "platform/launch.h"
#include "ui/colour_contrast.h"
#include "ui/during_wait.h"

namespace {

// A static control's own colours, and the ones it is drawn in now: its own where they can be
// read, else the system's window colours. The brush lives as long as the dialog.
struct StaticColours {
    HWND control = nullptr;
    int ownTextColour = COLOR_WINDOWTEXT;
    COLORREF ownBackground = 0;
    int textSystemColour = COLOR_WINDOWTEXT;
    COLORREF background = 0;
    HBRUSH brush = nullptr;
};

// A control with the rectangle it was given, in 96 DPI pixels.
struct PlacedControl {
    HWND control = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
};

// What one dialog keeps for itself, so that two open copies of a dialog never share it.
// Owned by the window: attached at creation, freed when the window is gone.
struct FrameState {
    DLGPROC handler = nullptr;
    HWND savedFocus = nullptr;
    std::vector<StaticColours> colours;
    // The layout: the DPI it is scaled for, the client size and the controls at 96 DPI.
    int dpi = 96;
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<PlacedControl> controls;
    // The frame's own font, once the one the dialog was created with no longer suits its DPI.
    HFONT font = nullptr;
    // The dialog's keyboard shortcuts, translated by its modal loop.
    HACCEL accelerators = nullptr;
    // Closing this window ends the tool (the main window).
    bool closingEndsTool = false;

    FrameState() = default;
    FrameState(const FrameState&) = delete;
    FrameState& operator=(const FrameState&) = delete;
    ~FrameState() {
        for (StaticColours& entry : colours)
            if (entry.brush) DeleteObject(entry.brush);
        if (font) DeleteObject(font);
        if (accelerators) DestroyAcceleratorTable(accelerators);
    }
};

constexpr int kFontPoints = 8;
constexpr wchar_t kFontFace[] = L"MS Sans Serif";

#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// Display-scale functions newer than Windows 7, taken by name (User32Function).
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
using SetDialogControlDpiChangeBehaviorFunction =
    BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The window's display DPI on Windows that scales per monitor, else the system DPI.
int WindowDpi(HWND window) {
    static auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

// The frame lays its dialogs out itself; the dialog manager's own rescaling on a DPI change
// (resizing, moving controls, new fonts) would fight it.
void TurnOffSystemDialogScaling(HWND dialog) {
    static auto setBehaviour = User32Function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    if (setBehaviour) setBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

void TurnOffSystemControlScaling(HWND control) {
    static auto setBehaviour =
        User32Function<SetDialogControlDpiChangeBehaviorFunction>("SetDialogControlDpiChangeBehavior");
    constexpr auto kBoth = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
    if (setBehaviour) setBehaviour(control, kBoth, kBoth);
}

// The outer size of a window whose client area is `width` × `height` at `dpi`.
SIZE OuterSizeForClient(HWND window, int width, int height, int dpi) {
    static auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT wanted = {0, 0, width, height};
    auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (!adjustForDpi || !adjustForDpi(&wanted, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&wanted, style, FALSE, exStyle);
    return {wanted.right - wanted.left, wanted.bottom - wanted.top};
}

HFONT DialogFont(HWND dialog) { return reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)); }

// Makes the dialog's font "MS Sans Serif" 8 pt at the layout's DPI: the font the dialog was
// created with where it is that already, otherwise a font of the frame's own, like it but for
// its height. Returns the frame's previous font, for the caller to free once no control uses it.
HFONT FitFontToDpi(HWND dialog, FrameState& state) {
    LOGFONTW description = {};
    HFONT current = DialogFont(dialog);
    if (!current || !GetObjectW(current, sizeof description, &description)) {
        description.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(description.lfFaceName, kFontFace, LF_FACESIZE);
    }
    LONG height = -MulDiv(kFontPoints, state.dpi, 72);
    if (current && description.lfHeight == height) return nullptr;
    description.lfHeight = height;
    description.lfWidth = 0;
    HFONT font = CreateFontIndirectW(&description);
    if (!font) return nullptr;
    HFONT previous = state.font;
    state.font = font;
    return previous;
}

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

Rgb RgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

bool HighContrastOn() {
    HIGHCONTRASTW state = {};
    state.cbSize = sizeof state;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) &&
           (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Chooses the colours a static control is drawn in under the present colour scheme, with a new
// brush where its colour changed. True when anything it draws with changed.
bool ChooseReadableColours(StaticColours& entry, bool highContrastOn) {
    bool systemColours =
        UseSystemWindowColours(highContrastOn, RgbOf(GetSysColor(entry.ownTextColour)), RgbOf(entry.ownBackground));
    int text = systemColours ? COLOR_WINDOWTEXT : entry.ownTextColour;
    COLORREF background = systemColours ? GetSysColor(COLOR_WINDOW) : entry.ownBackground;
    bool changed = text != entry.textSystemColour;
    entry.textSystemColour = text;
    if (entry.brush && background == entry.background) return changed;
    HBRUSH brush = CreateSolidBrush(background);
    if (!brush) return changed;
    if (entry.brush) DeleteObject(entry.brush);
    entry.brush = brush;
    entry.background = background;
    return true;
}

// The colour scheme or the high-contrast setting may have changed: new colours, drawn at once.
// After a change of system colours everything is drawn again; otherwise what changed.
void OnColourSchemeChange(HWND dialog, FrameState& state, bool systemColoursChanged) {
    bool highContrastOn = HighContrastOn();
    for (StaticColours& entry : state.colours)
        if (ChooseReadableColours(entry, highContrastOn) || systemColoursChanged)
            InvalidateRect(entry.control, nullptr, TRUE);
    if (systemColoursChanged) InvalidateRect(dialog, nullptr, TRUE);
}

void PlaceControl(const PlacedControl& placed, int dpi) {
    SetWindowPos(placed.control, nullptr, ScaleToDpi(placed.x, dpi), ScaleToDpi(placed.y, dpi),
                 ScaleToDpi(placed.width, dpi), ScaleToDpi(placed.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog has moved to a display of another scale: the controls and the font are laid out
// again for it, and the window takes the rectangle the system suggests.
void LayOutForDpi(HWND dialog, FrameState& state, int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    state.dpi = dpi;
    HFONT previous = FitFontToDpi(dialog, state);
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = DialogFont(dialog);
    for (const PlacedControl& placed : state.controls) {
        PlaceControl(placed, dpi);
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (previous) DeleteObject(previous);
}

// A shortcut key pressed in the dialog (on the dialog or one of its controls) becomes the
// dialog's WM_COMMAND; keys for any other window are left alone.
bool TranslateDialogAccelerator(HWND dialog, MSG& message) {
    FrameState* state = StateOf(dialog);
    if (!state || !state->accelerators) return false;
    if (message.hwnd != dialog && !IsChild(dialog, message.hwnd)) return false;
    return TranslateAcceleratorW(dialog, state->accelerators, &message) != 0;
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

    // Nothing the user does acts inside a wait for an outside program.
    if (LaunchWaitInProgress() && AnswerDuringWait(dialog, message, wParam, lParam, state->closingEndsTool))
        return TRUE;

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
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of it; the controls draw with system colours too.
        for (const PlacedControl& placed : state->controls) SendMessageW(placed.control, message, wParam, lParam);
        OnColourSchemeChange(dialog, *state, true);
        break;
    case WM_SETTINGCHANGE:
        // High contrast switched on or off comes as SPI_SETHIGHCONTRAST; for any other setting
        // the colours stay, and nothing is drawn again.
        OnColourSchemeChange(dialog, *state, false);
        break;
    case WM_GETFONT:
        // The dialog manager answers with the font it made; after a change of scale the
        // frame's own font is the dialog's.
        if (!state->font) break;
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(state->font));
        return TRUE;
    case WM_GETDPISCALEDSIZE: {
        // Asked before a move to a display of another scale: the window wants exactly its
        // scaled client area there, so the rectangle the system then suggests fits it.
        int dpi = LOWORD(wParam);
        *reinterpret_cast<SIZE*>(lParam) = OuterSizeForClient(
            dialog, ScaleToDpi(state->clientWidth, dpi), ScaleToDpi(state->clientHeight, dpi), dpi);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_DPICHANGED:
        LayOutForDpi(dialog, *state, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
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
    AppendWord(words, kFontPoints);
    AppendText(words, kFontFace);
    return words;
}

// Sets the outer size so that the client area is exactly the given pixels. The frame is
// measured on the window itself after a first estimate, so every frame thickness fits.
void SizeClientArea(HWND dialog, int clientWidth, int clientHeight, int dpi) {
    SIZE estimate = OuterSizeForClient(dialog, clientWidth, clientHeight, dpi);
    SetWindowPos(dialog, nullptr, 0, 0, estimate.cx, estimate.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    TurnOffSystemDialogScaling(dialog);
    state->dpi = WindowDpi(dialog);
    state->clientWidth = clientWidth;
    state->clientHeight = clientHeight;
    FitFontToDpi(dialog, *state);
    SizeClientArea(dialog, ScaleToDpi(clientWidth, state->dpi), ScaleToDpi(clientHeight, state->dpi), state->dpi);
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
    TurnOffSystemControlScaling(placed.control);
    SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(dialog)), FALSE);
    if (state) state->controls.push_back(placed);
    return placed.control;
}

void AddControls(HWND dialog, std::span<const ControlLayout> controls) {
    for (const ControlLayout& control : controls)
        AddControl(dialog, control.id, control.kind->className, control.text, control.x, control.y,
                   control.width, control.height, control.kind->style, control.kind->exStyle);
}

int DialogDpi(HWND dialog) {
    FrameState* state = StateOf(dialog);
    return state ? state->dpi : WindowDpi(dialog);
}

int SystemMetricForDpi(int index, int dpi) {
    static auto metricForDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return metricForDpi ? metricForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

void SetStaticColours(HWND control, int textSystemColour, COLORREF background) {
    FrameState* state = StateOf(GetParent(control));
    if (!state) return;
    StaticColours entry;
    entry.control = control;
    entry.ownTextColour = textSystemColour;
    entry.ownBackground = background;
    ChooseReadableColours(entry, HighContrastOn());
    state->colours.push_back(entry);
    InvalidateRect(control, nullptr, TRUE);
}

void SetDialogAccelerators(HWND dialog, HACCEL accelerators) {
    FrameState* state = StateOf(dialog);
    if (!state) {
        if (accelerators) DestroyAcceleratorTable(accelerators);
        return;
    }
    if (state->accelerators) DestroyAcceleratorTable(state->accelerators);
    state->accelerators = accelerators;
}

INT_PTR RunModalDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_INITDIALOG, 0, 0);
    RECT client;
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ShowWindow(dialog, SW_SHOW);

    while (IsWindow(dialog)) {
        // What was held during a command's wait comes first, in the order it came.
        if (DispatchHeldMessage()) continue;
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // WM_QUIT ends this loop and, posted again, every loop outside it.
            EndDialogFrame(dialog);
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (TranslateDialogAccelerator(dialog, message)) continue;
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

void SetClosingEndsTool(HWND dialog) {
    if (FrameState* state = StateOf(dialog)) state->closingEndsTool = true;
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

// Imported, comdlg32.dll and the printing libraries it brings would be loaded at every start;
// it is loaded from the system folder the first time an open-file dialog is needed.
bool ShowOpenFileDialog(OPENFILENAMEW& request) {
    using Function = BOOL(WINAPI*)(OPENFILENAMEW*);
    static Function getOpenFileName = [] {
        wchar_t system[MAX_PATH] = {};
        UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return Function{};
        std::wstring path = std::wstring(system, length) + L"\\comdlg32.dll";
        HMODULE library = LoadLibraryW(path.c_str());
        return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameW")))
                       : Function{};
    }();
    return getOpenFileName && getOpenFileName(&request);
}
