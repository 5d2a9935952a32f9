#pragma once
#include <windows.h>

// Builds, fills, places and shows the Configure dialog modally; saves the settings when it
// has closed, however it ended.
INT_PTR ShowConfigureDialog(HWND mainWindow);
INT_PTR CALLBACK HandleConfigureMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SettingsToControls(HWND window);
void ControlsToSettings(HWND window);

// The building half of ShowConfigureDialog: the dialog, hidden, placed on the main window's
// outer bottom-right corner, with its controls showing the settings.
HWND CreateConfigureDialog(HWND mainWindow);
