#include "ui/dialog_scale.h"

#include "platform/handles.h"
#include "platform/system_functions.h"
#include "ui/frame_state.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
using SetDialogControlDpiChangeBehaviorFunction =
    BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);


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
// its height. Returns the frame's previous font, to be freed once no control uses it.
UniqueFont FitFontToDpi(HWND dialog, FrameState& state) {
    LOGFONTW description = {};
    HFONT current = DialogFont(dialog);
    if (!current || !GetObjectW(current, sizeof description, &description)) {
        description.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(description.lfFaceName, kFrameFontFace, LF_FACESIZE);
    }
    LONG height = -MulDiv(kFrameFontPoints, state.dpi, 72);
    if (current && description.lfHeight == height) return UniqueFont();
    description.lfHeight = height;
    description.lfWidth = 0;
    HFONT font = CreateFontIndirectW(&description);
    if (!font) return UniqueFont();
    UniqueFont previous = std::move(state.font);
    state.font.Reset(font);
    return previous;
}

void PlaceControl(const PlacedControl& placed, int dpi) {
    SetWindowPos(placed.control, nullptr, ScaleToDpi(placed.x, dpi), ScaleToDpi(placed.y, dpi),
                 ScaleToDpi(placed.width, dpi), ScaleToDpi(placed.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
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

// The screen's pixels are square: one DPI serves both directions.
int SystemDpi() {
    ScreenDc screen;
    int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

int DialogDpi(HWND dialog) {
    FrameState* state = StateOf(dialog);
    return state ? state->dpi : WindowDpi(dialog);
}

int SystemMetricForDpi(int index, int dpi) {
    static auto metricForDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return metricForDpi ? metricForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

void ScaleNewDialog(HWND dialog, FrameState& state) {
    TurnOffSystemDialogScaling(dialog);
    state.dpi = WindowDpi(dialog);
    FitFontToDpi(dialog, state);
    SizeClientArea(dialog, ScaleToDpi(state.clientWidth, state.dpi), ScaleToDpi(state.clientHeight, state.dpi),
                   state.dpi);
}

void ScaleNewControl(HWND dialog, HWND control) {
    TurnOffSystemControlScaling(control);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(dialog)), FALSE);
}

// Asked before a move to a display of another scale: the window wants exactly its scaled client
// area there, so the rectangle the system then suggests fits it.
INT_PTR OnGetDpiScaledSize(HWND dialog, const FrameState& state, WPARAM wParam, LPARAM lParam) {
    int dpi = LOWORD(wParam);
    *reinterpret_cast<SIZE*>(lParam) =
        OuterSizeForClient(dialog, ScaleToDpi(state.clientWidth, dpi), ScaleToDpi(state.clientHeight, dpi), dpi);
    return AnswerWith(dialog, TRUE);
}

// The dialog has moved to a display of another scale: the controls and the font are laid out
// again for it, and the window takes the rectangle the system suggests.
INT_PTR OnDpiChanged(HWND dialog, FrameState& state, WPARAM wParam, LPARAM lParam) {
    int dpi = LOWORD(wParam);
    if (dpi > 0) {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        state.dpi = dpi;
        UniqueFont previous = FitFontToDpi(dialog, state);
        SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = DialogFont(dialog);
        for (const PlacedControl& placed : state.controls) {
            PlaceControl(placed, dpi);
            SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    return AnswerWith(dialog, 0);
}
