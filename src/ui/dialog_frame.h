#pragma once
// The frame both windows are built on: a dialog made at run time from an empty in-memory
// template, sized in pixels, with controls added one by one and a modal loop of its own.
#include <windows.h>

#include <string>

// Creates the dialog hidden, with `style` (WS_VISIBLE is added when it is shown), the font
// "MS Sans Serif" 8 pt, and a client area of exactly `clientWidth` × `clientHeight` pixels.
// `handler` receives every message once the dialog is shown by RunModalDialog; its result is
// always 0, so the default dialog processing goes on. Null when the system refuses.
HWND CreateDialogFrame(HWND owner, const std::wstring& caption, DWORD style, DWORD exStyle,
                       int clientWidth, int clientHeight, DLGPROC handler);

// Adds a control at a pixel rectangle of the client area, in the dialog's font. Controls
// are created in tab order.
HWND AddControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                int x, int y, int width, int height, DWORD style, DWORD exStyle = 0);

// A static control drawn with text in a system colour (COLOR_…) on a background colour that
// also fills it. The dialog owns the brush and frees it with itself.
void SetStaticColours(HWND control, int textSystemColour, COLORREF background);

// Brings the dialog to the foreground, delivers WM_INITDIALOG and an initial WM_SIZE to its
// handler, shows it, and runs its message loop until the window no longer exists. The loop
// sleeps in GetMessageW between messages; a WM_QUIT it takes is posted again for the loop
// outside it. Returns the end value, 0.
INT_PTR RunModalDialog(HWND dialog);

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
