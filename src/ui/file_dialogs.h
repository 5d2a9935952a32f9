#pragma once
// The system's file and folder dialogs, as the two windows open them.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>

// The system's open-file dialog (GetOpenFileNameW), from comdlg32.dll loaded on first use so
// that a start of the tool does not load it and the printing libraries it brings.
bool ShowOpenFileDialog(OPENFILENAMEW& request);

// The main window's open-file dialog for a source or a test file, starting in the folder of
// `currentTestFile` where there is one. The whole name as the system gives it; "" when
// cancelled.
std::wstring ChooseTestFileName(HWND window, const std::string& currentTestFile);

// The Configure dialog's folder browser, on the dialog's top-left corner, opened on
// `storedFolder`. Only a folder with a file-system path can be chosen; "" when cancelled.
std::wstring ChooseOutputFolder(HWND dialog, const std::string& storedFolder);

// What the Configure dialog's open-file dialog for one program shows.
struct ProgramChoice {
    const wchar_t* title;
    const wchar_t* filterDescription;
    const wchar_t* filterPattern;
    // Whether the starting folder keeps the "\" after it, as the compilers' dialogs have it.
    bool folderKeepsBackslash;
};

// The program the user chooses, on the dialog's top-left corner, starting from the stored path
// (in its own quotes or not); "" when cancelled.
std::wstring ChooseProgram(HWND dialog, std::string_view storedPath, const ProgramChoice& choice);
