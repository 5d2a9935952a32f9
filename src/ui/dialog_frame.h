#pragma once
// The frame both windows are built on: a dialog made at run time from an empty in-memory
// template, sized in pixels, with controls added one by one and a modal loop of its own
// (ui/modal_loop.h). Its layout at the display's scale is in ui/dialog_scale.h, its readable
// colours in ui/static_colours.h.
#include <windows.h>

#include <span>
#include <string>

struct SettingsRecord;

// What a window built on the frame is told of its messages. The frame does its own part after
// the handler, and the dialog's default processing goes on.
using FrameHandler = void (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the dialog hidden, with `style` (WS_VISIBLE is added when it is shown), the font
// "MS Sans Serif" 8 pt, and a client area of exactly `clientWidth` × `clientHeight` pixels at
// 96 DPI, scaled to the dialog's DPI. `handler` receives every message once the dialog is
// shown by RunModalDialog. Null when the system refuses.
HWND CreateDialogFrame(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle,
                       int clientWidth, int clientHeight, FrameHandler handler);

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

// The settings record the window works on, kept with the window; null until it is set.
void SetFrameRecord(HWND dialog, SettingsRecord& record);
SettingsRecord* FrameRecord(HWND dialog);

// Keyboard shortcuts of the dialog, sent to it as WM_COMMAND (notification code 1) by its modal
// loop when the dialog or one of its controls has the keyboard. The dialog owns the table and
// frees it with itself.
void SetDialogAccelerators(HWND dialog, HACCEL accelerators);
// The dialog's table, for its modal loop; null when it has none.
HACCEL DialogAccelerators(HWND dialog);

// Closing this dialog ends the tool: closed while a command waits for an outside program, it
// asks whether to end that program (see AnswerDuringWait).
void SetClosingEndsTool(HWND dialog);

// Ends the dialog as the system close command does: WM_CLOSE goes to the handler (which
// ignores it) and the window is destroyed.
void EndDialogFrame(HWND dialog);

// A button acts on BN_CLICKED (0) and on notification code 1 only.
inline bool IsButtonAction(WPARAM wParam) { return HIWORD(wParam) <= 1; }

// A control's text, converted to ANSI.
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
