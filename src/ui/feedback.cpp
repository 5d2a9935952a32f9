#include "ui/feedback.h"

#include <windows.h>

#include "platform/ansi.h"

namespace {

MessageStandIn standIn;

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

// The tool's one kind of box, owned by no window; afterwards the window that was active, and
// its focused control, get both back.
int ShowBox(std::wstring_view text, UINT buttons) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    int answer =
        MessageBoxW(nullptr, std::wstring(text).c_str(), L"PowerBASIC", buttons | MB_TASKMODAL | MB_SETFOREGROUND);
    ReturnTo(active, focus);
    return answer;
}

}  // namespace

void ShowMessage(std::string_view text) {
    if (standIn.message) {
        standIn.message(text);
        return;
    }
    ShowMessage(ToWide(text));
}

void ShowMessage(std::wstring_view text) {
    if (standIn.message) {
        standIn.message(ToAnsi(text));
        return;
    }
    ShowBox(text, MB_OK);
}

bool AskYesNo(std::string_view question) {
    if (standIn.question) return standIn.question(question);
    return ShowBox(ToWide(question), MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void DefaultBeep() {
    if (standIn.beep) {
        standIn.beep();
        return;
    }
    MessageBeep(0);
}

void SetMessageStandIn(const MessageStandIn& replacement) { standIn = replacement; }
