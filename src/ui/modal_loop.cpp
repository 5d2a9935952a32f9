#include "ui/modal_loop.h"

#include "platform/launch.h"
#include "ui/dialog_frame.h"
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

// What another program may send a window while the tool waits for an outside program, and
// what would act at once inside that wait: a command (also the one a button sends its dialog
// when it is sent a click), a drop, a system command (close, move, minimise).
bool ActsOnInput(UINT message) {
    return message == WM_COMMAND || message == WM_DROPFILES || message == WM_SYSCOMMAND;
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

bool HeldDuringWait(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!LaunchWaitInProgress()) return false;
    if (ActsOnInput(message)) {
        PostMessageW(dialog, message, wParam, lParam);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return true;
    }
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return true;
    }
    return false;
}
