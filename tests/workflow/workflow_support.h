#pragma once
// What the workflow tests share: the user's side of the commands (message boxes and beeps,
// caught in place of the real ones) and real windows to drop on and to hide.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/window_feedback.h"

// One message box or beep, with whether the observed window was visible at that moment.
struct FeedbackEvent {
    bool beep = false;
    std::string text;
    bool windowVisible = false;
};

// Catches every message box and beep for as long as it lives.
class FeedbackRecorder {
public:
    FeedbackRecorder();
    ~FeedbackRecorder();
    FeedbackRecorder(const FeedbackRecorder&) = delete;
    FeedbackRecorder& operator=(const FeedbackRecorder&) = delete;

    // The window whose visibility each event records.
    void Observe(HWND window);
    const std::vector<FeedbackEvent>& Events() const;
    // The texts of the message boxes, in order.
    std::vector<std::string> Messages() const;
    int Beeps() const;
    void Clear();
};

// A top-level window of the test's own class with the current test file label (1060); its
// window procedure hands WM_DROPFILES to HandleDrop on TestSettings, as the main window does.
// Destroyed with the owner.
class TestMainWindow {
public:
    explicit TestMainWindow(bool visible);
    ~TestMainWindow();
    TestMainWindow(const TestMainWindow&) = delete;
    TestMainWindow& operator=(const TestMainWindow&) = delete;

    HWND Get() const { return window_; }
    // The feedback the main window hands the commands: boxes, beeps, the label, the window
    // hidden around the compiler log.
    FeedbackSink& Screen() { return screen_; }
    std::string LabelText() const;
    void SetLabelText(std::string_view text);

private:
    HWND window_;
    WindowFeedback screen_{nullptr};
};

// A drop handle as the shell builds it (DROPFILES followed by wide names, each ending in NUL,
// and one more NUL). Whoever receives it frees it with DragFinish.
HDROP MakeDrop(const std::vector<std::string>& names);
// The same with names as the shell has them, which the ANSI code page may not be able to hold.
HDROP MakeWideDrop(const std::vector<std::wstring>& names);
// Sends WM_DROPFILES with a new drop of the names to the window.
void DeliverDrop(HWND window, const std::vector<std::string>& names);
void DeliverWideDrop(HWND window, const std::vector<std::wstring>& names);
