#include "child_runs.h"

#include "bench_support.h"

namespace {

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::wstring CopyIntoFreshFolder(const std::wstring& program, Child& child) {
    child.folder = FreshFolder(L"run");
    std::wstring copy = child.folder + FileName(program);
    if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) Fail("cannot copy " + Narrow(program));
    return copy;
}

double StartInFolder(const std::wstring& copy, const wchar_t* arguments, Child& child) {
    std::wstring commandLine = L"\"" + copy + L"\"";
    if (arguments) commandLine += std::wstring(L" ") + arguments;
    double started = Now();
    child.process = StartProcess(commandLine, child.folder.c_str());
    if (!child.process) Fail("cannot start " + Narrow(copy));
    return started;
}

double StartCopy(const std::wstring& program, const wchar_t* arguments, Child& child) {
    return StartInFolder(CopyIntoFreshFolder(program, child), arguments, child);
}

double WaitVisible(Child& child) {
    DWORD deadline = GetTickCount() + kVisibleTimeoutMs;
    for (;;) {
        WindowSearch search{child.process.Id(), nullptr};
        EnumWindows(MatchVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            child.window = search.found;
            return Now();
        }
        if (WaitForSingleObject(child.process.Handle(), 0) == WAIT_OBJECT_0) Fail("a started program ended early");
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) Fail("no visible window within 30 s");
        Sleep(1);
    }
}

bool EndChild(Child& child) {
    bool clean = true;
    if (child.process.Handle()) {
        if (child.window) PostMessageW(child.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (WaitForSingleObject(child.process.Handle(), kCloseTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(child.process.Handle(), 1);
            WaitForSingleObject(child.process.Handle(), kCloseTimeoutMs);
            clean = false;
        }
        child.process.Close();
    }
    RemoveTree(child.folder);
    return clean;
}
