#pragma once
// Drives a running copy of TestBuilder.exe from another process, through window messages
// only, as a user's clicks and keys would: finds its windows, reads their texts, rectangles
// and styles, clicks buttons, types into edits, answers its message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "test_support.h"

// The longest any single wait for the tool may take before the case fails.
constexpr DWORD kWaitLimitMs = 10000;

// Polls `ready` every few milliseconds until it answers true or `limitMs` has passed.
template <class Ready>
bool WaitUntil(Ready ready, DWORD limitMs = kWaitLimitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - start > limitMs) return false;
        Sleep(5);
    }
}

// Top-level dialogs (class "#32770") of the process with exactly this caption, visible or not.
std::vector<HWND> FindDialogs(DWORD processId, std::wstring_view caption);
// The first of them that is not `except`; null when there is none.
HWND FindDialog(DWORD processId, std::wstring_view caption, HWND except = nullptr);

// What the window shows, asked for with WM_GETTEXT (an edit keeps its text to itself).
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
LONG StyleOf(HWND window);
LONG ExStyleOf(HWND window);
// A child's rectangle in its dialog's client coordinates.
RECT RectInClient(HWND child, HWND dialog);
SIZE ClientSize(HWND window);
RECT OuterRect(HWND window);
bool IsChecked(HWND dialog, int id);

// The window's thread has handled everything sent or posted to it before; false when it did
// not answer in time (it is blocked, for instance waiting for a program it started).
bool Sync(HWND window);
// Types a whole text into an edit, replacing what it held.
void TypeText(HWND dialog, int id, std::wstring_view text);
// A click that returns once the button has done its work.
bool Click(HWND dialog, int id);
// A click that may open something modal (a message box, a dialog): posted, so the driver goes
// on while the tool's thread sits in the new window's loop.
bool PostClick(HWND dialog, int id);
// WM_COMMAND from a button with a given notification code, posted to the dialog.
bool PostCommand(HWND dialog, int id, WORD notification);
// The system close command: the caption's close box, Alt+F4.
bool PostSystemClose(HWND window);
// A key pressed on the focused control of `window`'s thread, as the keyboard delivers it.
bool PostKey(HWND target, WPARAM virtualKey);

// Real input, as the user's keyboard and mouse give it (SendInput), into whatever window is in
// front: the keys pressed in order and released in the reverse order; a left click on a screen
// point.
bool PressKeys(std::initializer_list<WORD> keys);
bool ClickAt(POINT screenPoint);
// Brings the tool's window to the front, as a click on it would.
bool BringToFront(HWND window);

// One copy of the tool in a folder of its own (so with its own TestBuilder.ini), started as a
// separate process. The process is ended, if still running, when the case is over.
class ToolCase {
public:
    ToolCase();
    ~ToolCase();
    ToolCase(const ToolCase&) = delete;
    ToolCase& operator=(const ToolCase&) = delete;

    // The case folder, with a trailing "\".
    const std::string& Folder() const { return folder_.Path(); }
    std::string operator/(std::string_view name) const { return folder_ / name; }
    std::string ExePath() const { return folder_ / "TestBuilder.exe"; }
    std::string SettingsPath() const { return folder_ / "TestBuilder.ini"; }

    // Starts the tool with the case folder as its current directory and waits until its main
    // window is visible with all six controls.
    testing::AssertionResult Start(std::wstring_view arguments = {});
    HWND Main() const { return main_; }
    DWORD ProcessId() const { return processId_; }
    bool Running() const;

    // Clicks "&Configure" and waits for a new Configure dialog with all its controls.
    testing::AssertionResult OpenConfigure(HWND& dialog);
    // Waits for a "PowerBASIC" message box of the tool; gives its text.
    testing::AssertionResult WaitForMessageBox(HWND& box, std::wstring& text);
    // Presses OK on the box and waits until it is gone.
    testing::AssertionResult DismissMessageBox(HWND box);
    // Closes the main window by the system close command and waits for the process to end.
    testing::AssertionResult CloseAndWait(DWORD& exitCode);
    // Waits for the process to end by itself.
    testing::AssertionResult WaitForExit(DWORD& exitCode);

private:
    TempDir folder_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// The dialog's window with this caption is visible and has every one of these controls.
bool HasControls(HWND dialog, const std::vector<int>& ids);

// The twelve lines a save of the settings writes, in their order.
std::string SavedFile(std::string_view active, std::string_view directory, std::string_view output,
                      std::string_view compiler, std::string_view pbwin, std::string_view pbcc,
                      std::string_view quarex, std::string_view include, std::string_view incl1,
                      std::string_view incl2, std::string_view incl3, std::string_view incl4);

// Copies a file, failing the case clearly when it cannot.
testing::AssertionResult CopyInto(const std::string& from, const std::string& to);

// Folder of the driver, where the build put the tool and the stand-in program beside it.
std::string DriverFolder();

// Drops files on a screen point from outside the tool, as a file manager would: an XDND source
// (xdnd_drop.py beside the driver) started as a Unix program, which Wine's X11 driver turns
// into WM_DROPFILES for the window under the point. Needs Wine (see CanDropThroughX11).
bool CanDropThroughX11();
testing::AssertionResult DropFiles(POINT screenPoint, const std::vector<std::string>& paths);
// The middle of a child window, in screen pixels.
POINT CentreOf(HWND window);
