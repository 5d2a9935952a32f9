#pragma once
// The compiler's log after a failed compile, in the tool's message box.
#include <windows.h>

#include <string>

// Shows the log with the main window out of the way: whole where its box fits the screen,
// otherwise its last lines that fit, after a line that says where the rest is (`logName`).
void ShowCompilerLog(HWND mainWindow, const std::string& logText, const std::string& logName);
