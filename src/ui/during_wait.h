#pragma once
// What the tool's windows do while a command waits for an outside program.
#include <windows.h>

// Called by a frame for each message it gets while LaunchWaitInProgress(): true when the
// message has been dealt with here (its result set), false when the window handles it as at
// any other time. Commands and drops are held for after the command; the window's own menu
// items too; closing the window whose closing ends the tool (`closingEndsTool`) asks whether
// to end the running program, and Yes ends it and closes the window once the command is over.
bool AnswerDuringWait(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool closingEndsTool);

// Dispatches the oldest message held during a wait, when no wait runs; false when there is none
// (the modal loops call it before they look at the queue).
bool DispatchHeldMessage();
