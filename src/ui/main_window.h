#pragma once
#include <windows.h>

#include "platform/handles.h"

// Builds, places and shows the main window modally; returns when it has been destroyed.
INT_PTR ShowMainWindow(HWND parent);

// The icons the main window shows: replaced (and the old ones freed) when the window changes
// its display scale, freed by their owner once the window is gone.
struct MainWindowIcons {
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

// The building half of ShowMainWindow: the window, hidden, with its icons, place, controls and
// drop registration. `icons` must outlive the window. Public for the tests.
HWND CreateMainWindow(HWND parent, MainWindowIcons& icons);
