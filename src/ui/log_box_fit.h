#pragma once
// How much of a compiler log its message box can show on the screen.
#include <windows.h>

#include <string>

// The log as the box shows it: whole where the box fits the work area of the monitor it will
// appear on, measured in the message font at that monitor's DPI; otherwise its last lines that
// fit, after a line that says where the rest is. An ownerless box may appear on the main
// window's monitor, the primary one or the one under the pointer: the log is fitted to each
// of them and the fewest lines that fit are shown.
std::string LogTextThatFits(HWND mainWindow, const std::string& logText, const std::string& logName);
