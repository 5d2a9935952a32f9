#pragma once
#include <windows.h>

#include "core/settings_record.h"
#include "platform/handles.h"

// Builds, places and shows the main window modally, working on `record` (the process's one
// settings record); returns when it has been destroyed.
INT_PTR ShowMainWindow(HWND parent, SettingsRecord& record);

// The icons the main window shows: replaced (and the old ones freed) when the window changes
// its display scale, freed by their owner once the window is gone.
struct MainWindowIcons {
    UniqueIcon bigIcon;
    UniqueIcon smallIcon;
};

// The building half of ShowMainWindow: the window, hidden, with its icons, place, controls and
// drop registration. `icons` and `record` must outlive the window. Public for the tests.
HWND CreateMainWindow(HWND parent, MainWindowIcons& icons, SettingsRecord& record);
