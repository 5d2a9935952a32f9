#pragma once
// The modal loop every frame runs, and what it does for every frame: keyboard shortcuts and the
// messages held while an outside program ran (ui/during_wait.h).
#include <windows.h>

// Brings the dialog to the foreground, delivers WM_INITDIALOG and an initial WM_SIZE to its
// handler, shows it, and runs its message loop until the window no longer exists. The loop
// sleeps in GetMessageW between messages and first dispatches what was held during a wait for
// an outside program; a WM_QUIT it takes is posted again for the loop outside it. Returns the
// end value, 0.
INT_PTR RunModalDialog(HWND dialog);
