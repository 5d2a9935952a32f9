#pragma once
// The frame both windows are built on: a dialog made at run time from an empty in-memory
// template, sized in pixels, with controls added one by one and a modal loop of its own.
//
// Layouts are written in the pixels of a 96 DPI display. The frame scales every coordinate and
// size to the dialog's DPI (MulDiv(value, dpi, 96)), and lays the dialog out again, font
// included, when the system moves it to a display of another scale.
#include <windows.h>
#include <commdlg.h>

#include <span>
#include <string>

// Creates the dialog hidden, with `style` (WS_VISIBLE is added when it is shown), the font
// "MS Sans Serif" 8 pt, and a client area of exactly `clientWidth` × `clientHeight` pixels at
// 96 DPI, scaled to the dialog's DPI. `handler` receives every message once the dialog is
// shown by RunModalDialog; its result is always 0, so the default dialog processing goes on.
// Null when the system refuses.
HWND CreateDialogFrame(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle,
                       int clientWidth, int clientHeight, DLGPROC handler);

// Adds a control at a rectangle of the client area (96 DPI pixels, scaled to the dialog's DPI),
// in the dialog's font. Controls are created in tab order.
HWND AddControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                int x, int y, int width, int height, DWORD style, DWORD exStyle = 0);

// A kind of control: window class and styles.
struct ControlKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// One control of a window's layout table, at its 96 DPI rectangle.
struct ControlLayout {
    int id;
    const ControlKind* kind;
    const wchar_t* text;
    int x, y, width, height;
};

// Adds the controls of a layout table, in table order (which is the tab order).
void AddControls(HWND dialog, std::span<const ControlLayout> controls);

// The DPI the dialog is laid out for: its display's, as the system tells the window.
int DialogDpi(HWND dialog);
// A 96 DPI length at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return MulDiv(value, dpi, 96); }
// A function of user32.dll newer than the oldest Windows the tool runs on, taken by name; null
// where the system has none of that name.
template <typename Function>
Function User32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// A system metric (SM_…) at `dpi`, where the system can tell one for another DPI; otherwise
// the metric of the system DPI.
int SystemMetricForDpi(int index, int dpi);

// A static control drawn with text in a system colour (COLOR_…) on a background colour that
// also fills it. Under high contrast, or where that text colour cannot be read on that
// background, the control is drawn in the system's window colours (COLOR_WINDOWTEXT on
// COLOR_WINDOW) instead, chosen again whenever the colour scheme changes. The dialog owns the
// brush and frees it with itself.
void SetStaticColours(HWND control, int textSystemColour, COLORREF background);

// Keyboard shortcuts of the dialog, sent to it as WM_COMMAND (notification code 1) by its modal
// loop when the dialog or one of its controls has the keyboard. The dialog owns the table and
// frees it with itself.
void SetDialogAccelerators(HWND dialog, HACCEL accelerators);

// Brings the dialog to the foreground, delivers WM_INITDIALOG and an initial WM_SIZE to its
// handler, shows it, and runs its message loop until the window no longer exists. The loop
// sleeps in GetMessageW between messages and first dispatches what was held during a wait for
// an outside program; a WM_QUIT it takes is posted again for the loop outside it. Returns the end value, 0.
INT_PTR RunModalDialog(HWND dialog);

// Closing this dialog ends the tool: closed while a command waits for an outside program, it
// asks whether to end that program (see AnswerDuringWait).
void SetClosingEndsTool(HWND dialog);

// Ends the dialog as the system close command does: WM_CLOSE goes to the handler (which
// ignores it) and the window is destroyed.
void EndDialogFrame(HWND dialog);

// The focus rule of WM_NCACTIVATE, with the saved control kept by each dialog for itself:
// losing activation remembers the control with the keyboard focus, gaining it gives that
// control the focus back once.
void SaveFocusOnDeactivate(HWND dialog);
void RestoreFocusOnActivate(HWND dialog);

// A button acts on BN_CLICKED (0) and on notification code 1 only.
inline bool IsButtonAction(WPARAM wParam) { return HIWORD(wParam) <= 1; }

// A control's text, converted to ANSI.
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);

// The system's open-file dialog (GetOpenFileNameW), from comdlg32.dll loaded on first use so
// that a start of the tool does not load it and the printing libraries it brings.
bool ShowOpenFileDialog(OPENFILENAMEW& request);
