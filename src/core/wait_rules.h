#pragma once
// What happens to a message that arrives while the tool waits for an outside program. Free of
// windows.h (the message numbers are Windows' own, checked against it where the rules are
// used), so the rules build and are tested natively.
#include <cstdint>

// A message the wait itself takes off the thread's queue.
enum class QueuedDuringWait {
    Dispatch,  // handled now: paint, sent, posted and timer messages, and the input that moves,
               // minimises or closes a window or opens its window menu
    Drop,      // input that would act on the tool (a click, a key): it acts neither now nor later
    AskToStop,  // Esc pressed: the window it was typed in is sent kAskToStop
};
QueuedDuringWait TreatQueuedDuringWait(uint32_t message, uintptr_t wParam);

// A message a window of the tool is sent (or dispatched) during the wait.
enum class FrameDuringWait {
    Pass,        // the window handles it as at any other time
    Hold,        // kept by the tool and handled once the command that waits has ended
    AskToEnd,    // the user closes the tool: ask whether to end the program that runs
    AskToStop,   // Esc typed in the window: ask whether to end the program, and go on
    WaitCursor,  // the cursor over the window is the wait cursor
};
// `closingEndsTool`: the window is the one whose closing ends the tool (the main window).
FrameDuringWait TreatFrameMessageDuringWait(uint32_t message, uintptr_t wParam, bool closingEndsTool);

// The message numbers the rules speak of.
namespace wait_rules {
constexpr uint32_t kSetCursor = 0x0020;        // WM_SETCURSOR
constexpr uint32_t kNcMouseMove = 0x00A0;      // WM_NCMOUSEMOVE
constexpr uint32_t kNcXButtonDblClk = 0x00AD;  // WM_NCXBUTTONDBLCLK, the last non-client mouse message
constexpr uint32_t kKeyFirst = 0x0100;         // WM_KEYFIRST
constexpr uint32_t kSysKeyDown = 0x0104;       // WM_SYSKEYDOWN
constexpr uint32_t kSysKeyUp = 0x0105;         // WM_SYSKEYUP
constexpr uint32_t kSysChar = 0x0106;          // WM_SYSCHAR
constexpr uint32_t kKeyLast = 0x0109;          // WM_KEYLAST
constexpr uint32_t kCommand = 0x0111;          // WM_COMMAND
constexpr uint32_t kSysCommand = 0x0112;       // WM_SYSCOMMAND
constexpr uint32_t kMouseFirst = 0x0200;       // WM_MOUSEFIRST
constexpr uint32_t kMouseLast = 0x020E;        // WM_MOUSELAST
constexpr uint32_t kDropFiles = 0x0233;        // WM_DROPFILES
constexpr uintptr_t kScClose = 0xF060;         // SC_CLOSE
constexpr uintptr_t kFirstSystemCommand = 0xF000;  // below: a window's own window-menu items
constexpr uintptr_t kVkSpace = 0x20;           // VK_SPACE (Alt+Space: the window menu)
constexpr uintptr_t kVkF4 = 0x73;              // VK_F4 (Alt+F4: close)
constexpr uintptr_t kVkEscape = 0x1B;          // VK_ESCAPE (Esc: stop the program)
constexpr uint32_t kAskToStop = 0x8000 + 0x1B; // WM_APP + 0x1B: the wait's own, to the window of an Esc
constexpr uintptr_t kHtCaption = 2, kHtSysMenu = 3, kHtMinButton = 8, kHtClose = 20;
}  // namespace wait_rules
