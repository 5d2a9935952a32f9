#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// Takes a name as the current test file, the one way for a dropped name and a name chosen in
// the open-file dialog: a BASIC source gets its test file beside it, under the source's own
// name (or selects the one there), a test file is selected; `show(window)` then shows the new
// current test file (Settings.active), and only after that are the settings saved. A name of any other
// type beeps and changes nothing. A path the settings file cannot hold whole (a character the
// ANSI code page lacks, a "=") goes by its short form; where it has none, a message says why
// and nothing changes. True when the current test file was set.
bool SelectTestFileByName(const std::wstring& name, void (*show)(HWND window), HWND window);

// WM_DROPFILES: takes the first dropped name, finishes the drop, and selects it as
// SelectTestFileByName does. True when the current test file was set.
bool HandleDrop(HDROP drop, void (*show)(HWND window), HWND window);
