#pragma once
// Static controls in colours of their own that stay readable under every colour scheme.
#include <windows.h>

struct FrameState;

// A static control drawn with text in a system colour (COLOR_…) on a background colour that
// also fills it. Under high contrast, or where that text colour cannot be read on that
// background, the control is drawn in the system's window colours (COLOR_WINDOWTEXT on
// COLOR_WINDOW) instead, chosen again whenever the colour scheme changes. The dialog owns the
// brush and frees it with itself.
void SetStaticColours(HWND control, int textSystemColour, COLORREF background);

// For the frame itself:
// WM_CTLCOLORSTATIC: the colours and brush of a control that has its own; FALSE for any other.
INT_PTR OnControlColour(const FrameState& state, HDC dc, HWND control);
// WM_SYSCOLORCHANGE (`systemColoursChanged`) and WM_SETTINGCHANGE: the colours chosen again.
void OnColourSchemeChange(HWND dialog, FrameState& state, bool systemColoursChanged);
