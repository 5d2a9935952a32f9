#include "ui/modal_loop.h"

#include "ui/dialog_frame.h"
#include "ui/during_wait.h"
#include "ui/frame_state.h"

namespace {

// A shortcut key pressed in the dialog (on the dialog or one of its controls) becomes the
// dialog's WM_COMMAND; keys for any other window are left alone.
bool TranslateDialogAccelerator(HWND dialog, MSG& message) {
    FrameState* state = StateOf(dialog);
    if (!state || !state->accelerators) return false;
    if (message.hwnd != dialog && !IsChild(dialog, message.hwnd)) return false;
    return TranslateAcceleratorW(dialog, state->accelerators.Get(), &message) != 0;
}

}  // namespace

void SetDialogAccelerators(HWND dialog, HACCEL accelerators) {
    UniqueAccelerators owned(accelerators);
    if (FrameState* state = StateOf(dialog)) state->accelerators = std::move(owned);
}

INT_PTR RunModalDialog(HWND dialog) {
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_INITDIALOG, 0, 0);
    RECT client;
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ShowWindow(dialog, SW_SHOW);

    while (IsWindow(dialog)) {
        // What was held during a command's wait comes first, in the order it came.
        if (DispatchHeldMessage()) continue;
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // WM_QUIT ends this loop and, posted again, every loop outside it.
            EndDialogFrame(dialog);
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (TranslateDialogAccelerator(dialog, message)) continue;
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}

void OnActivationChange(FrameState& state, bool active) {
    if (!active) {
        state.savedFocus = GetFocus();
        return;
    }
    if (!state.savedFocus) return;
    SetFocus(state.savedFocus);
    state.savedFocus = nullptr;
}
