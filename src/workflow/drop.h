#pragma once
#include <windows.h>
#include <shellapi.h>

// WM_DROPFILES on the main window: creates or selects the current test file.
void HandleDrop(HWND dialog, HDROP drop);
