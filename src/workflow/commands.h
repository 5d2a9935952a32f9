#pragma once
#include <windows.h>

// The main window's three test commands (buttons 1012, 1013, 1014).
void AddRoutinesCommand(HWND mainWindow);
void SequenceTestsCommand(HWND mainWindow);
void RunTestsCommand(HWND mainWindow);
