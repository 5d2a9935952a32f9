#pragma once
// What the window tests share: reading real windows back, and a script that acts on them
// from a timer while a modal loop under test runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A control's rectangle in its parent's client coordinates.
RECT ControlRect(HWND control);
std::wstring ClassNameOf(HWND window);
// Expects a control's ID, window class (whatever its case) and pixel rectangle in its parent's
// client area.
void ExpectPlacedControl(HWND control, int id, const wchar_t* className, int x, int y, int width, int height);
std::wstring TextOf(HWND window);

// The display scale: the screen's DPI, and the DPI this run was arranged for
// (TB_EXPECTED_DPI, set by the test ui_dpiDPI; 96 when unset).
int ScreenDpi();
int ExpectedDpi();
// A 96 DPI length at `dpi`, as the windows scale theirs.
inline int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }
// Expects the window's font, and every control's, to be "MS Sans Serif" of 8 points at `dpi`.
void ExpectEightPointFontAt(HWND window, int dpi);
// Expects the text of every push button, radio button and group box of `window` to fit inside
// its control, measured in the control's own font: a push button's inside its edge, a radio
// button's beside its round box (`dpi` sizes the box and the edges).
void ExpectButtonTextsFit(HWND window, int dpi);
// The child windows in z-order, which is their creation (and tab) order.
std::vector<HWND> ChildrenInOrder(HWND parent);
// The same without the windows that are never shown (created without WS_VISIBLE, such as a
// label that only names the control after it for screen readers): no part of the layout.
std::vector<HWND> LaidOutChildrenInOrder(HWND parent);

// Expects a window laid out at `dpi` from its 96 DPI layout: the client size, every control's
// ID, class and rectangle in creation order (`controls`: a window test's table of expected
// controls), the 8 pt font, and every button text fitting its control.
template <typename ExpectedControl, size_t count>
void ExpectLayoutAt(HWND window, const ExpectedControl (&controls)[count], int clientWidth, int clientHeight,
                    int dpi) {
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scaled(clientWidth, dpi));
    EXPECT_EQ(client.bottom, Scaled(clientHeight, dpi));
    std::vector<HWND> children = LaidOutChildrenInOrder(window);
    ASSERT_EQ(children.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const ExpectedControl& expected = controls[i];
        SCOPED_TRACE(expected.id);
        ExpectPlacedControl(children[i], expected.id, expected.className, Scaled(expected.x, dpi),
                            Scaled(expected.y, dpi), Scaled(expected.width, dpi), Scaled(expected.height, dpi));
    }
    ExpectEightPointFontAt(window, dpi);
    ExpectButtonTextsFit(window, dpi);
}
// Visible top-level windows of this thread with that caption.
std::vector<HWND> ThreadWindows(const std::wstring& caption);
// Visible standard dialogs (#32770) of this thread other than `except`.
std::vector<HWND> OtherThreadDialogs(const std::vector<HWND>& except);

// Runs `step` from a thread timer on every tick (whatever message loop dispatches it) until it
// returns true. Gives up after `maximumTicks`: every visible dialog of the thread is then asked
// to close (system close command and IDCANCEL), so a failing test ends instead of hanging.
class TimerScript {
public:
    explicit TimerScript(std::function<bool()> step, int maximumTicks = 400);
    ~TimerScript();
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    bool Finished() const { return finished_; }
    bool GaveUp() const { return gaveUp_; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::function<bool()> step_;
    int ticksLeft_;
    UINT_PTR timer_ = 0;
    bool finished_ = false;
    bool gaveUp_ = false;
    bool running_ = false;
};

// A list of steps for a TimerScript: each step is retried on every tick until it returns true,
// and the next one starts on the following tick.
std::function<bool()> Steps(std::vector<std::function<bool()>> steps);

// Pumps this thread's messages until none is waiting.
void PumpMessages();
