#include "core/wait_rules.h"

using namespace wait_rules;

namespace {

// The parts of a window's frame that move it, minimise it, close it or open its window menu.
bool IsFrameControl(uintptr_t hitTest) {
    return hitTest == kHtCaption || hitTest == kHtSysMenu || hitTest == kHtMinButton || hitTest == kHtClose;
}

// Non-client mouse messages, left and right buttons and moves (0xA0 to 0xA6).
bool IsFrameMouse(uint32_t message) { return message >= kNcMouseMove && message <= kNcMouseMove + 6; }

}  // namespace

QueuedDuringWait TreatQueuedDuringWait(uint32_t message, uintptr_t wParam) {
    // Esc is the way out of a program that never ends; its key-up and character are dropped.
    if (message == kKeyFirst && wParam == kVkEscape) return QueuedDuringWait::AskToStop;
    if (message >= kKeyFirst && message <= kKeyLast) {
        // Alt+F4 closes (and then asks), Alt+Space opens the window menu; every other key,
        // Alt alone included, would act on the tool's controls or its shortcuts.
        bool closeOrMenuKey = (message == kSysKeyDown || message == kSysKeyUp) && (wParam == kVkF4 || wParam == kVkSpace);
        bool menuChar = message == kSysChar && wParam == ' ';
        return closeOrMenuKey || menuChar ? QueuedDuringWait::Dispatch : QueuedDuringWait::Drop;
    }
    // Clicks, wheel turns and moves over the windows' insides. Taking a move off the queue is
    // enough for the system to ask the window under the pointer for its (wait) cursor.
    if (message >= kMouseFirst && message <= kMouseLast) return QueuedDuringWait::Drop;
    if (message >= kNcMouseMove && message <= kNcXButtonDblClk)
        return IsFrameMouse(message) && IsFrameControl(wParam) ? QueuedDuringWait::Dispatch : QueuedDuringWait::Drop;
    return QueuedDuringWait::Dispatch;
}

FrameDuringWait TreatFrameMessageDuringWait(uint32_t message, uintptr_t wParam, bool closingEndsTool) {
    switch (message) {
    case kCommand:
    case kDropFiles:
        // A command another program sends (also through a button it sends a click), a drop.
        return FrameDuringWait::Hold;
    case kSysCommand: {
        uintptr_t command = wParam & 0xFFF0;  // the low four bits are the system's own
        if (command == kScClose) return closingEndsTool ? FrameDuringWait::AskToEnd : FrameDuringWait::Hold;
        // The window's own window-menu items ("Open test file...") wait for the command to end;
        // the system's (move, minimise, screen saver, monitor power...) are done at once.
        return command < kFirstSystemCommand ? FrameDuringWait::Hold : FrameDuringWait::Pass;
    }
    case kSetCursor:
        return FrameDuringWait::WaitCursor;
    case kAskToStop:
        return FrameDuringWait::AskToStop;
    default:
        return FrameDuringWait::Pass;
    }
}
