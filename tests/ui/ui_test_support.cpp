#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

RECT ControlRect(HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::vector<HWND> ChildrenInOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::vector<HWND> LaidOutChildrenInOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child : ChildrenInOrder(parent))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) children.push_back(child);
    return children;
}

namespace {

BOOL CALLBACK AddIfVisible(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddIfVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TimerScript* running = nullptr;

}  // namespace

std::vector<HWND> ThreadWindows(const std::wstring& caption) {
    std::vector<HWND> found;
    for (HWND window : VisibleThreadWindows())
        if (TextOf(window) == caption) found.push_back(window);
    return found;
}

std::vector<HWND> OtherThreadDialogs(const std::vector<HWND>& except) {
    std::vector<HWND> found;
    for (HWND window : VisibleThreadWindows())
        if (ClassNameOf(window) == L"#32770" && std::find(except.begin(), except.end(), window) == except.end())
            found.push_back(window);
    return found;
}

TimerScript::TimerScript(std::function<bool()> step, int maximumTicks)
    : step_(std::move(step)), ticksLeft_(maximumTicks) {
    running = this;
    timer_ = SetTimer(nullptr, 0, 25, OnTick);
}

TimerScript::~TimerScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (running == this) running = nullptr;
}

void CALLBACK TimerScript::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (running) running->Tick();
}

void TimerScript::Tick() {
    // A step that starts a nested loop would otherwise be re-entered from inside it.
    if (running_ || finished_ || gaveUp_) return;
    running_ = true;
    bool done = step_();
    running_ = false;
    if (done) {
        finished_ = true;
        KillTimer(nullptr, timer_);
        timer_ = 0;
        return;
    }
    if (--ticksLeft_ > 0) return;
    gaveUp_ = true;
    KillTimer(nullptr, timer_);
    timer_ = 0;
    for (HWND window : VisibleThreadWindows()) {
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

std::function<bool()> Steps(std::vector<std::function<bool()>> steps) {
    auto list = std::make_shared<std::vector<std::function<bool()>>>(std::move(steps));
    auto next = std::make_shared<size_t>(0);
    return [list, next]() {
        if (*next < list->size() && (*list)[*next]()) ++*next;
        return *next >= list->size();
    };
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void ExpectPlacedControl(HWND control, int id, const wchar_t* className, int x, int y, int width, int height) {
    EXPECT_EQ(GetDlgCtrlID(control), id);
    EXPECT_EQ(_wcsicmp(ClassNameOf(control).c_str(), className), 0) << ClassNameOf(control);
    RECT rect = ControlRect(control);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int ExpectedDpi() {
    const char* expected = std::getenv("TB_EXPECTED_DPI");
    return expected && *expected ? std::atoi(expected) : 96;
}

void ExpectEightPointFontAt(HWND window, int dpi) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    ASSERT_TRUE(font && GetObjectW(font, sizeof description, &description));
    EXPECT_STREQ(description.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(description.lfHeight, -MulDiv(8, dpi, 72));
    for (HWND control : ChildrenInOrder(window))
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), font) << GetDlgCtrlID(control);
}

namespace {

// A metric of the system at `dpi` where it can tell one, else at the system DPI.
int MetricAt(int index, int dpi) {
    using Function = int(WINAPI*)(int, UINT);
    auto forDpi = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace

void ExpectButtonTextsFit(HWND window, int dpi) {
    int edge = MetricAt(SM_CXEDGE, dpi);
    int checkBox = MetricAt(SM_CXMENUCHECK, dpi);
    for (HWND control : ChildrenInOrder(window)) {
        if (_wcsicmp(ClassNameOf(control).c_str(), L"Button") != 0) continue;
        LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
        RECT client = {};
        GetClientRect(control, &client);
        // Room for the text: inside the 3-D edge of a push button; right of the round box and
        // its gap for a radio button; inside the frame of a group box.
        int room = client.right;
        int heightRoom = client.bottom;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            room -= 2 * edge;
            heightRoom -= 2 * edge;
        } else if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
            room -= checkBox + Scaled(4, dpi);
        } else if (type == BS_GROUPBOX) {
            room -= 2 * Scaled(8, dpi);
        } else {
            continue;
        }
        std::wstring text = TextOf(control);
        HDC dc = GetDC(control);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT measured = {0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);  // "&" marks, takes no room
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        EXPECT_LE(measured.right, room) << "text \"" << std::string(text.begin(), text.end()) << "\" of " << GetDlgCtrlID(control);
        EXPECT_LE(measured.bottom, heightRoom) << "text of " << GetDlgCtrlID(control);
    }
}
