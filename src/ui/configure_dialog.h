#pragma once
#include <windows.h>

#include "core/settings_record.h"

// Builds, fills, places and shows the Configure dialog modally, editing `record` (the process's
// one settings record) in place; saves the settings when it has closed, however it ended.
INT_PTR ShowConfigureDialog(HWND mainWindow, SettingsRecord& record);

// The building half of ShowConfigureDialog: the dialog, hidden, placed on the main window's
// outer bottom-right corner, with its controls showing the settings. `record` must outlive the
// dialog. Public for the tests.
HWND CreateConfigureDialog(HWND mainWindow, SettingsRecord& record);
// The settings into the controls and back, as the dialog does on opening and on "&Done".
// Public for the tests.
void SettingsToControls(HWND window, const SettingsRecord& record);
void ControlsToSettings(HWND window, SettingsRecord& record);
