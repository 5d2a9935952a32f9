#include "ui/compiler_log_box.h"

#include "ui/feedback.h"
#include "ui/log_box_fit.h"

namespace {

void RedrawAll(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

void ShowCompilerLog(HWND mainWindow, const std::string& logText, const std::string& logName) {
    std::string shown = LogTextThatFits(mainWindow, logText, logName);
    ShowWindow(mainWindow, SW_HIDE);
    RedrawAll(mainWindow);
    ShowMessage(shown);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    RedrawAll(mainWindow);
}
