#pragma once
#include <windows.h>

// Builds, fills, places and shows the Configure dialog modally; saves the settings when it
// has closed, however it ended.
INT_PTR ShowConfigureDialog(HWND mainWindow);

// The building half of ShowConfigureDialog: the dialog, hidden, placed on the main window's
// outer bottom-right corner, with its controls showing the settings. Public for the tests.
HWND CreateConfigureDialog(HWND mainWindow);
// The settings into the controls and back, as the dialog does on opening and on "&Done".
// Public for the tests.
void SettingsToControls(HWND window);
void ControlsToSettings(HWND window);
