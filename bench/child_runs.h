#pragma once
// The programs a process measurement runs: each a copy in a fresh folder of its own, started
// there, watched until its window shows, and closed as a user closes it.
#include <windows.h>

#include <string>

#include "start_process.h"

constexpr DWORD kVisibleTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 10000;

struct Child {
    std::wstring folder;
    StartedProcess process;
    HWND window = nullptr;
    std::wstring host;  // under Wine: the host's /proc folder of the Unix process that runs it
};

// Copies the program into a fresh folder; gives the copy's path.
std::wstring CopyIntoFreshFolder(const std::wstring& program, Child& child);
// Starts the copy in its folder; gives the time just before CreateProcess.
double StartInFolder(const std::wstring& copy, const wchar_t* arguments, Child& child);
// Copies the program into a fresh folder; the clock starts after the copy, just before
// CreateProcess, and the started process runs in that folder.
double StartCopy(const std::wstring& program, const wchar_t* arguments, Child& child);
// Polls every millisecond until the process has a visible, unowned top-level window; gives the
// time it was first seen.
double WaitVisible(Child& child);
// Closes the window the way a user does (the system close command) and waits for the process;
// one that does not end is terminated and counted. Returns true when it ended by itself.
bool EndChild(Child& child);
