#pragma once
// The modal loop every frame runs, and what it does for every frame: keyboard shortcuts, the
// focus kept across activations, and the messages held while an outside program ran
// (ui/during_wait.h).
#include <windows.h>

struct FrameState;

// Keyboard shortcuts of the dialog, sent to it as WM_COMMAND (notification code 1) by its modal
// loop when the dialog or one of its controls has the keyboard. The dialog owns the table and
// frees it with itself.
void SetDialogAccelerators(HWND dialog, HACCEL accelerators);

// Brings the dialog to the foreground, delivers WM_INITDIALOG and an initial WM_SIZE to its
// handler, shows it, and runs its message loop until the window no longer exists. The loop
// sleeps in GetMessageW between messages and first dispatches what was held during a wait for
// an outside program; a WM_QUIT it takes is posted again for the loop outside it. Returns the
// end value, 0.
INT_PTR RunModalDialog(HWND dialog);

// For the frame itself:
// WM_NCACTIVATE: losing activation remembers the control with the keyboard focus, gaining it
// gives that control the focus back once.
void OnActivationChange(FrameState& state, bool active);
