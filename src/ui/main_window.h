#pragma once
#include <windows.h>

// Builds, places and shows the main window modally; returns when it has been destroyed.
INT_PTR ShowMainWindow(HWND parent);
INT_PTR CALLBACK HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The icons the main window shows: replaced (and the old ones freed) when the window changes
// its display scale, freed by their owner once the window is gone.
struct MainWindowIcons {
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    MainWindowIcons() = default;
    MainWindowIcons(const MainWindowIcons&) = delete;
    MainWindowIcons& operator=(const MainWindowIcons&) = delete;
    ~MainWindowIcons() {
        if (bigIcon) DestroyIcon(bigIcon);
        if (smallIcon) DestroyIcon(smallIcon);
    }
};

// The building half of ShowMainWindow: the window, hidden, with its icons, place, controls and
// drop registration. `icons` must outlive the window.
HWND CreateMainWindow(HWND parent, MainWindowIcons& icons);
