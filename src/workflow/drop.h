#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// Takes a name as the current test file, the one way for a dropped name and a name chosen in
// the open-file dialog: a BASIC source gets its test file beside it (or selects the one there),
// a test file is selected, and the settings are saved; a name of any other type beeps and
// changes nothing. A path the settings file cannot hold whole (a character the ANSI code page
// lacks, a "=") goes by its short form, and beeps like another type where it has none. True
// when the current test file (Settings.active) was set, for the caller to show it.
bool SelectTestFileByName(const std::wstring& name);

// WM_DROPFILES: takes the first dropped name, finishes the drop, and selects it as
// SelectTestFileByName does. True when the current test file was set.
bool HandleDrop(HDROP drop);
