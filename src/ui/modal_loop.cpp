#include "ui/modal_loop.h"

#include "ui/dialog_frame.h"
#include "ui/during_wait.h"

namespace {

// A shortcut key pressed in the dialog (on the dialog or one of its controls) becomes the
// dialog's WM_COMMAND; keys for any other window are left alone.
bool TranslateDialogAccelerator(HWND dialog, MSG& message) {
    HACCEL accelerators = DialogAccelerators(dialog);
    if (!accelerators) return false;
    if (message.hwnd != dialog && !IsChild(dialog, message.hwnd)) return false;
    return TranslateAcceleratorW(dialog, accelerators, &message) != 0;
}

}  // namespace

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
