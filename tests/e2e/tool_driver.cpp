#include "tool_driver.h"

#include <algorithm>

#include "platform/ansi.h"
#include "start_process.h"

namespace {

struct DialogSearch {
    DWORD processId;
    std::wstring_view caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId) return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring_view(className) != L"#32770") return TRUE;
    // A top-level window's caption lives with the window itself, so this is no cross-process call.
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    if (std::wstring_view(caption) == search.caption) search.found.push_back(window);
    return TRUE;
}

// A message answered by the tool's thread, or false when it did not answer in time.
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWaitLimitMs,
                               result ? result : &ignored) != 0;
}

}  // namespace

std::vector<HWND> FindDialogs(DWORD processId, std::wstring_view caption) {
    DialogSearch search{processId, caption, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialog(DWORD processId, std::wstring_view caption, HWND except) {
    for (HWND window : FindDialogs(processId, caption)) {
        if (window != except) return window;
    }
    return nullptr;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendWithin(window, WM_GETTEXTLENGTH, 0, 0, &length)) return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithin(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) {
        return L"<no answer>";
    }
    text.resize(copied);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG ExStyleOf(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

RECT RectInClient(HWND child, HWND dialog) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

RECT OuterRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool IsChecked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    return SendWithin(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool Sync(HWND window) { return SendWithin(window, WM_NULL, 0, 0); }

void TypeText(HWND dialog, int id, std::wstring_view text) {
    std::wstring copy(text);
    SendWithin(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && SendWithin(button, BM_CLICK, 0, 0);
}

bool PostClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool PostCommand(HWND dialog, int id, WORD notification) {
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, notification),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool PostSystemClose(HWND window) { return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool PostKey(HWND target, WPARAM virtualKey) {
    UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    return PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16)) &&
           PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

bool PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool ClickAt(POINT screenPoint) {
    // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(screenPoint.x, 65536, width) + 1;
        input.mi.dy = MulDiv(screenPoint.y, 65536, height) + 1;
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

bool HasControls(HWND dialog, const std::vector<int>& ids) {
    if (!dialog || !IsWindowVisible(dialog)) return false;
    for (int id : ids) {
        if (!GetDlgItem(dialog, id)) return false;
    }
    return true;
}

testing::AssertionResult CopyInto(const std::string& from, const std::string& to) {
    if (CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), FALSE)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "could not copy " << from << " to " << to << " (error " << GetLastError()
                                       << ")";
}

std::string SavedFile(std::string_view active, std::string_view directory, std::string_view output,
                      std::string_view compiler, std::string_view pbwin, std::string_view pbcc,
                      std::string_view quarex, std::string_view include, std::string_view incl1,
                      std::string_view incl2, std::string_view incl3, std::string_view incl4) {
    std::string text;
    auto line = [&](std::string_view key, std::string_view value) {
        text += std::string(key) + "=" + std::string(value) + "\r\n";
    };
    line("active", active);
    line("directory", directory);
    line("output", output);
    line("compiler", compiler);
    line("pbwin", pbwin);
    line("pbcc", pbcc);
    line("quarex", quarex);
    line("include", include);
    line("incl1", incl1);
    line("incl2", incl2);
    line("incl3", incl3);
    line("incl4", incl4);
    return text;
}

std::string DriverFolder() { return ExecutableFolder(); }

ToolCase::ToolCase() {
    EXPECT_TRUE(CopyInto(DriverFolder() + "TestBuilder.exe", ExePath()));
}

ToolCase::~ToolCase() {
    // The tool must be gone before its folder can be removed.
    if (Running()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), kWaitLimitMs);
    }
}

bool ToolCase::Running() const {
    return process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

testing::AssertionResult ToolCase::Start(std::wstring_view arguments) {
    std::wstring commandLine = L"\"" + ToWide(ExePath()) + L"\"";
    if (!arguments.empty()) commandLine += L" " + std::wstring(arguments);
    StartedProcess started = StartProcess(commandLine, ToWide(Folder()).c_str());
    if (!started)
        return testing::AssertionFailure() << "could not start " << ExePath() << " (error " << started.Error() << ")";
    processId_ = started.Id();
    process_.Reset(started.Release());

    const std::vector<int> controls{1011, 1012, 1013, 1014, 1015, 1060};
    bool ready = WaitUntil([&] {
        main_ = FindDialog(processId_, L"Test Builder");
        return HasControls(main_, controls) || !Running();
    });
    if (!Running()) {
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        return testing::AssertionFailure() << "the tool ended before showing its window, exit code " << code;
    }
    if (!ready) {
        return testing::AssertionFailure() << "no visible \"Test Builder\" window with its six controls within "
                                           << kWaitLimitMs << " ms";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult ToolCase::OpenConfigure(HWND& dialog) {
    std::vector<HWND> before = FindDialogs(processId_, L"Configure");
    if (!PostClick(main_, 1015)) return testing::AssertionFailure() << "could not click \"&Configure\"";
    const std::vector<int> controls{1016, 1100, 1101, 1004, 1030, 1025, 1200, 1021, 1031, 1201, 1023, 1032, 1029,
                                    1028, 1033, 1035, 1300, 1037, 1301, 1040, 1043, 1302, 1046, 1303, 1034};
    dialog = nullptr;
    bool opened = WaitUntil([&] {
        for (HWND window : FindDialogs(processId_, L"Configure")) {
            bool isNew = std::find(before.begin(), before.end(), window) == before.end();
            if (isNew && HasControls(window, controls)) {
                dialog = window;
                return true;
            }
        }
        return false;
    });
    if (!opened) return testing::AssertionFailure() << "no new visible \"Configure\" dialog with its 25 controls";
    return testing::AssertionSuccess();
}

testing::AssertionResult ToolCase::WaitForMessageBox(HWND& box, std::wstring& text) {
    box = nullptr;
    bool shown = WaitUntil([&] {
        box = FindDialog(processId_, L"PowerBASIC");
        return (box && IsWindowVisible(box)) || !Running();
    });
    if (!shown || !box) return testing::AssertionFailure() << "no \"PowerBASIC\" message box appeared";
    wchar_t buffer[4096] = {};
    GetDlgItemTextW(box, 0xFFFF, buffer, 4096);
    text = buffer;
    return testing::AssertionSuccess();
}

testing::AssertionResult ToolCase::DismissMessageBox(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok || !PostMessageW(ok, BM_CLICK, 0, 0)) return testing::AssertionFailure() << "the box has no OK button";
    if (!WaitUntil([&] { return !IsWindow(box); })) {
        return testing::AssertionFailure() << "the message box did not close on OK";
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult ToolCase::CloseAndWait(DWORD& exitCode) {
    if (!PostSystemClose(main_)) return testing::AssertionFailure() << "could not post SC_CLOSE";
    return WaitForExit(exitCode);
}

testing::AssertionResult ToolCase::WaitForExit(DWORD& exitCode) {
    if (WaitForSingleObject(process_.Get(), kWaitLimitMs) != WAIT_OBJECT_0) {
        return testing::AssertionFailure() << "the tool did not end within " << kWaitLimitMs << " ms";
    }
    GetExitCodeProcess(process_.Get(), &exitCode);
    return testing::AssertionSuccess();
}

namespace {

// Wine's own path conversions; absent on Windows.
using ToUnixPath = char*(CDECL*)(const wchar_t*);
using ToDosPath = wchar_t*(CDECL*)(const char*);

ToUnixPath WineToUnix() {
    return reinterpret_cast<ToUnixPath>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
}

ToDosPath WineToDos() {
    return reinterpret_cast<ToDosPath>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
}

std::string UnixPathOf(const std::string& path) {
    char* unix = WineToUnix()(ToWide(path).c_str());
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

std::wstring DosPathOf(const char* unixPath) {
    wchar_t* dos = WineToDos()(unixPath);
    if (!dos) return {};
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

}  // namespace

bool CanDropThroughX11() {
    return WineToUnix() && WineToDos() && PathExists(ToAnsi(DosPathOf("/usr/bin/python3"))) &&
           PathExists(DriverFolder() + "xdnd_drop.py");
}

POINT CentreOf(HWND window) {
    RECT rect = OuterRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

testing::AssertionResult DropFiles(POINT screenPoint, const std::vector<std::string>& paths) {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string result = ToAnsi(temp) + "xdnd-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter++) + ".result";
    DeleteFileW(ToWide(result).c_str());

    std::wstring commandLine = L"\"" + DosPathOf("/usr/bin/python3") + L"\" \"" +
                               ToWide(UnixPathOf(DriverFolder() + "xdnd_drop.py")) + L"\" \"" +
                               ToWide(UnixPathOf(result)) + L"\" " + std::to_wstring(screenPoint.x) + L" " +
                               std::to_wstring(screenPoint.y);
    for (const std::string& path : paths) commandLine += L" \"" + ToWide(UnixPathOf(path)) + L"\"";
    // Wine hands out no waitable handle for a Unix program: the outcome comes through the file.
    if (StartedProcess started = StartProcess(commandLine); !started)
        return testing::AssertionFailure() << "could not start the XDND source (error " << started.Error() << ")";
    std::string outcome;
    WaitUntil([&] { return !(outcome = ReadBytes(result)).empty(); }, 2 * kWaitLimitMs);
    DeleteFileW(ToWide(result).c_str());
    if (outcome == "ok") return testing::AssertionSuccess();
    if (outcome.empty()) return testing::AssertionFailure() << "the XDND source gave no result";
    return testing::AssertionFailure() << "the XDND source reported: " << outcome;
}
