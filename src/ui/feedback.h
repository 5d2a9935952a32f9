#pragma once
// What the user sees and hears of the commands: one kind of message box and the default beep.
#include <string_view>

// MessageBoxW with no owner, caption "PowerBASIC", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND.
void ShowMessage(std::string_view text);
// The same box for a text the ANSI code page may not spell (a path it cannot hold).
void ShowMessage(std::wstring_view text);
// The same kind of box with Yes and No, No the default; true for Yes.
bool AskYesNo(std::string_view question);
// MessageBeep(0).
void DefaultBeep();

// Tests replace the boxes and the beep so that nobody has to click; null restores the real ones.
struct MessageStandIn {
    void (*message)(std::string_view text) = nullptr;
    void (*beep)() = nullptr;
    bool (*question)(std::string_view text) = nullptr;
};
void SetMessageStandIn(const MessageStandIn& standIn);
