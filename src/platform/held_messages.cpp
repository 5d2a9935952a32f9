#include "platform/held_messages.h"

#include <shellapi.h>

#include <deque>

namespace {

// The tool has one thread; each thread would have its own hold.
thread_local std::deque<MSG> held;

}  // namespace

void HoldMessage(const MSG& message) { held.push_back(message); }

bool TakeHeldMessage(MSG& message) {
    if (held.empty()) return false;
    message = held.front();
    held.pop_front();
    return true;
}

// A drop's handle is the receiver's to free; a drop that is never handled is freed here.
void DropHeldMessages() {
    for (const MSG& message : held)
        if (message.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(message.wParam));
    held.clear();
}
