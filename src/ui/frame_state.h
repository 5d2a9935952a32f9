#pragma once
// What one frame keeps for itself, shared by the frame's own files (the frame, its layout at a
// display scale, its colours, its modal loop). Each dialog owns its state, so that two open
// copies of a dialog never share it: attached at creation, freed when the window is gone.
#include <windows.h>

#include <vector>

#include "platform/handles.h"
#include "ui/dialog_frame.h"

// A static control's own colours, and the ones it is drawn in now: its own where they can be
// read, else the system's window colours.
struct StaticColours {
    HWND control = nullptr;
    int ownTextColour = COLOR_WINDOWTEXT;
    COLORREF ownBackground = 0;
    int textSystemColour = COLOR_WINDOWTEXT;
    COLORREF background = 0;
    UniqueBrush brush;
};

// A control with the rectangle it was given, in 96 DPI pixels.
struct PlacedControl {
    HWND control = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
};

struct FrameState {
    FrameHandler handler = nullptr;
    // The control that had the keyboard focus when the dialog lost activation.
    HWND savedFocus = nullptr;
    std::vector<StaticColours> colours;
    // The layout: the DPI it is scaled for, the client size and the controls at 96 DPI.
    int dpi = 96;
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<PlacedControl> controls;
    // The frame's own font, once the one the dialog was created with no longer suits its DPI.
    UniqueFont font;
    // The dialog's keyboard shortcuts, translated by its modal loop.
    UniqueAccelerators accelerators;
    // Closing this window ends the tool (the main window).
    bool closingEndsTool = false;
    // The settings record the window works on (the process's one record).
    SettingsRecord* record = nullptr;
};

// The dialog's state; null before creation has attached it and after the window is gone.
inline FrameState* StateOf(HWND dialog) {
    return reinterpret_cast<FrameState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// A dialog procedure's answer that carries a result of its own (DWLP_MSGRESULT).
inline INT_PTR AnswerWith(HWND dialog, LONG_PTR result) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}
