#pragma once
// The frame's layout at the display's scale. Layouts are written in the pixels of a 96 DPI
// display; the frame scales every coordinate and size to the dialog's DPI
// (MulDiv(value, dpi, 96)), and lays the dialog out again, font included, when the system moves
// it to a display of another scale. DPI functions newer than Windows 7 are taken by name.
#include <windows.h>

struct FrameState;

// Sent before a move to a display of another scale (Windows 10 1703 and later).
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// The face and size of every frame's font, at any scale.
constexpr int kFrameFontPoints = 8;
constexpr wchar_t kFrameFontFace[] = L"MS Sans Serif";

// The system DPI (the screen's LOGPIXELSX), 96 where the screen cannot tell.
int SystemDpi();
// The DPI the dialog is laid out for: its display's, as the system tells the window.
int DialogDpi(HWND dialog);
// A 96 DPI length at `dpi`.
inline int ScaleToDpi(int value, int dpi) { return MulDiv(value, dpi, 96); }
// A system metric (SM_…) at `dpi`, where the system can tell one for another DPI; otherwise
// the metric of the system DPI.
int SystemMetricForDpi(int index, int dpi);

// For the frame itself:
// A new dialog laid out for its display: the system's own rescaling off, the font and the
// client area (`state`'s, at 96 DPI) at the window's DPI.
void ScaleNewDialog(HWND dialog, FrameState& state);
// A new control kept out of the system's rescaling, in the dialog's font.
void ScaleNewControl(HWND dialog, HWND control);
// WM_GETDPISCALEDSIZE: the outer size that gives the scaled client area at the new DPI.
INT_PTR OnGetDpiScaledSize(HWND dialog, const FrameState& state, WPARAM wParam, LPARAM lParam);
// WM_DPICHANGED: controls and font laid out again; the window takes the suggested rectangle.
INT_PTR OnDpiChanged(HWND dialog, FrameState& state, WPARAM wParam, LPARAM lParam);
