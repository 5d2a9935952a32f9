// The real message box, read and closed by a helper thread as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/ansi.h"
#include "ui/feedback.h"

namespace {

struct SeenBox {
    std::string text;
    bool found = false;
    bool owned = true;
    int buttons = 0;
    int icons = 0;
};

// Waits for the box captioned "PowerBASIC", notes what it shows, and presses OK.
void AnswerBox(SeenBox& seen) {
    for (int i = 0; i < 3000; ++i) {
        HWND box = FindWindowW(L"#32770", L"PowerBASIC");
        if (box && IsWindowVisible(box)) {
            wchar_t text[512] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 512);
            seen.text = ToAnsi(text);
            seen.found = true;
            seen.owned = GetWindow(box, GW_OWNER) != nullptr;
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t className[32] = {};
                GetClassNameW(child, className, 32);
                if (!IsWindowVisible(child)) continue;
                if (lstrcmpiW(className, L"Button") == 0) ++seen.buttons;
                if (lstrcmpiW(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                    SendMessageW(child, STM_GETICON, 0, 0) != 0)
                    ++seen.icons;
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
        Sleep(10);
    }
}

TEST(ShowMessage, OneOkBoxWithoutOwnerCaptionedPowerBasic) {
    SeenBox seen;
    std::thread user(AnswerBox, std::ref(seen));
    ShowMessage("Add tests failed\r\nInvalid parameter");
    user.join();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Add tests failed\r\nInvalid parameter");
    EXPECT_FALSE(seen.owned);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.icons, 0);
}

}  // namespace
