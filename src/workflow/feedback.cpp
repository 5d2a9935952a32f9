#include "workflow/feedback.h"

#include <windows.h>

#include "platform/ansi.h"

namespace {

FeedbackSink sink;

// The task-modal box disables the tool's windows while it is up, so when it closes the system
// activates another program's window. The window that was active before it, and the control
// that had the keyboard focus, get both back, where they are still there to take them.
void ReturnTo(HWND active, HWND focus) {
    if (!active || !IsWindow(active) || !IsWindowVisible(active) || !IsWindowEnabled(active)) return;
    SetForegroundWindow(active);
    if (focus && IsWindow(focus) && (focus == active || IsChild(active, focus)) && IsWindowVisible(focus) &&
        IsWindowEnabled(focus))
        SetFocus(focus);
}

}  // namespace

void ShowMessage(std::string_view text) {
    if (sink.message) {
        sink.message(text);
        return;
    }
    ShowMessage(ToWide(text));
}

void ShowMessage(std::wstring_view text) {
    if (sink.message) {
        sink.message(ToAnsi(text));
        return;
    }
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    MessageBoxW(nullptr, std::wstring(text).c_str(), L"PowerBASIC", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
    ReturnTo(active, focus);
}

bool AskYesNo(std::string_view question) {
    if (sink.question) return sink.question(question);
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    int answer = MessageBoxW(nullptr, ToWide(question).c_str(), L"PowerBASIC",
                             MB_YESNO | MB_DEFBUTTON2 | MB_TASKMODAL | MB_SETFOREGROUND);
    ReturnTo(active, focus);
    return answer == IDYES;
}

void DefaultBeep() {
    if (sink.beep) {
        sink.beep();
        return;
    }
    MessageBeep(0);
}

void SetFeedbackSink(const FeedbackSink& replacement) { sink = replacement; }
