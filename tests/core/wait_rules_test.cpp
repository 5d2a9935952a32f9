// What a wait for an outside program does with each message, by Windows' message numbers (the
// real windows' behaviour is in tests/e2e/waiting_test.cpp; these are the cases Wine's single
// monitor and missing taskbar cannot bring).
#include <gtest/gtest.h>

#include "core/wait_rules.h"

using namespace wait_rules;

namespace {

constexpr uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kChar = 0x0102, kLButtonDown = 0x0201, kMouseMove = 0x0200,
                   kMouseWheel = 0x020A, kNcLButtonDown = 0x00A1, kNcLButtonDblClk = 0x00A3,
                   kNcRButtonUp = 0x00A5, kNcMButtonDown = 0x00A7, kPaint = 0x000F, kTimer = 0x0113,
                   kDropFilesPosted = kDropFiles, kClose = 0x0010, kNcActivate = 0x0086;
constexpr uintptr_t kVkReturn = 0x0D, kVkMenu = 0x12, kHtClient = 1, kHtBorder = 18, kHtMaxButton = 9;
constexpr uintptr_t kScMove = 0xF010, kScMinimize = 0xF020, kScKeyMenu = 0xF100, kScScreenSave = 0xF140,
                    kScMonitorPower = 0xF170, kOpenTestFile = 0x0100;

bool Dispatched(uint32_t message, uintptr_t wParam) {
    return TreatQueuedDuringWait(message, wParam) == QueuedDuringWait::Dispatch;
}

}  // namespace

TEST(WaitRules, KeysAndClicksMeantForTheToolAreDroppedTheWindowsFrameStillWorks) {
    // Keys typed in the windows, Alt alone and Alt+letter (a mnemonic) act neither now nor later.
    for (uint32_t message : {kKeyDown, kKeyUp, kChar}) EXPECT_FALSE(Dispatched(message, kVkReturn)) << message;
    EXPECT_FALSE(Dispatched(kSysKeyDown, kVkMenu));
    EXPECT_FALSE(Dispatched(kSysKeyUp, kVkMenu));
    EXPECT_FALSE(Dispatched(kSysChar, 'r'));
    // Alt+F4 closes, Alt+Space opens the window menu.
    EXPECT_TRUE(Dispatched(kSysKeyDown, kVkF4));
    EXPECT_TRUE(Dispatched(kSysKeyUp, kVkF4));
    EXPECT_TRUE(Dispatched(kSysKeyDown, kVkSpace));
    EXPECT_TRUE(Dispatched(kSysChar, ' '));
    // Clicks, wheel turns and moves inside the windows.
    for (uint32_t message : {kLButtonDown, kMouseMove, kMouseWheel}) EXPECT_FALSE(Dispatched(message, 0)) << message;
    // The caption moves, the buttons minimise and close, the icon opens the window menu (also
    // with the right button); the border (no sizing) and the middle button do nothing.
    for (uintptr_t part : {kHtCaption, kHtSysMenu, kHtMinButton, kHtClose}) {
        EXPECT_TRUE(Dispatched(kNcLButtonDown, part)) << part;
        EXPECT_TRUE(Dispatched(kNcLButtonDblClk, part)) << part;
        EXPECT_TRUE(Dispatched(kNcRButtonUp, part)) << part;
        EXPECT_FALSE(Dispatched(kNcMButtonDown, part)) << part;
    }
    for (uintptr_t part : {kHtClient, kHtBorder, kHtMaxButton}) EXPECT_FALSE(Dispatched(kNcLButtonDown, part)) << part;
    // Everything else goes to its window, which decides.
    for (uint32_t message : {kPaint, kTimer, kDropFilesPosted, kCommand, kSysCommand})
        EXPECT_TRUE(Dispatched(message, 0)) << message;
}

TEST(WaitRules, DropsCommandsAndTheWindowsOwnMenuItemsWaitOnlyCloseAsks) {
    auto treat = [](uint32_t message, uintptr_t wParam, bool closingEndsTool = true) {
        return TreatFrameMessageDuringWait(message, wParam, closingEndsTool);
    };
    EXPECT_EQ(treat(kCommand, 1014), FrameDuringWait::Hold);
    EXPECT_EQ(treat(kDropFiles, 0x1234), FrameDuringWait::Hold);
    EXPECT_EQ(treat(kSysCommand, kOpenTestFile), FrameDuringWait::Hold);
    // Close asks in the main window (the system's low bits aside); in another window it waits.
    EXPECT_EQ(treat(kSysCommand, kScClose), FrameDuringWait::AskToEnd);
    EXPECT_EQ(treat(kSysCommand, kScClose | 0x2), FrameDuringWait::AskToEnd);
    EXPECT_EQ(treat(kSysCommand, kScClose, false), FrameDuringWait::Hold);
    // Every system command of the system's own is done at once, never later: those that other
    // programs broadcast (the screen saver, the monitor's power) included.
    for (uintptr_t command : {kScMove, kScMinimize | 0x2, kScKeyMenu, kScScreenSave, kScMonitorPower})
        EXPECT_EQ(treat(kSysCommand, command), FrameDuringWait::Pass) << command;
    EXPECT_EQ(treat(kSetCursor, 0), FrameDuringWait::WaitCursor);
    for (uint32_t message : {kPaint, kClose, kNcActivate}) EXPECT_EQ(treat(message, 0), FrameDuringWait::Pass);
}
