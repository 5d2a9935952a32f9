#pragma once
#include <windows.h>

// Builds, places and shows the main window modally; returns when it has been destroyed.
INT_PTR ShowMainWindow(HWND parent);
INT_PTR CALLBACK HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
