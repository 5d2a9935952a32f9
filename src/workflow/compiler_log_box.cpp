#include "workflow/compiler_log_box.h"

#include <algorithm>

#include "core/tool_contract.h"
#include "platform/ansi.h"
#include "platform/handles.h"
#include "workflow/feedback.h"

namespace {

void RedrawAll(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Room a message box needs besides its text, in pixels at 96 DPI: caption, frame, the margins
// around the text and the band with the OK button, with some to spare.
constexpr int kMessageBoxFrameHeight = 160;

UniqueFont MessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return UniqueFont();
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

// How a message box's text is laid out: in the system's message font, broken into lines no
// wider than a box may grow (measured as narrow as any system makes it, so never too short).
class MessageTextMeasure {
public:
    explicit MessageTextMeasure(int maximumWidth)
        : width_(maximumWidth),
          font_(MessageFont()),
          selected_(screen_.Get(), font_ ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT)) {}

    int LineHeight() const {
        TEXTMETRICW text = {};
        return screen_.Get() && GetTextMetricsW(screen_.Get(), &text) && text.tmHeight > 0 ? text.tmHeight : 16;
    }
    int Height(const std::string& text) const {
        if (!screen_.Get()) return 0;
        std::wstring wide = ToWide(text);
        RECT rect = {0, 0, width_, 0};
        DrawTextW(screen_.Get(), wide.c_str(), static_cast<int>(wide.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.bottom - rect.top;
    }

private:
    int width_;
    ScreenDc screen_;
    UniqueFont font_;
    SelectedObject selected_;
};

int ScreenDpi() {
    ScreenDc screen;
    int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

// The log as the box shows it: whole where its box fits the work area of the main window's
// monitor, otherwise its last lines that fit, after a line that says where the rest is.
std::string LogTextThatFits(HWND mainWindow, const std::string& logText, const std::string& logName) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor)) return logText;
    const RECT& work = monitor.rcWork;
    int room = work.bottom - work.top - MulDiv(kMessageBoxFrameHeight, ScreenDpi(), 96);
    MessageTextMeasure measure((work.right - work.left) / 2);

    // Every line of the log takes at least one line of the box: a log with more lines than
    // the box has room for cannot fit, whatever it says, and needs no measuring.
    size_t roomInLines = room > 0 ? static_cast<size_t>(room / measure.LineHeight()) : 0;
    size_t lines = LogLineCount(logText);
    if (lines <= roomInLines && measure.Height(logText) <= room) return logText;

    // The most last lines that fit beside the first line; more lines never take less room.
    size_t fewest = 0, most = std::min(lines, roomInLines);
    while (fewest < most) {
        size_t middle = (fewest + most + 1) / 2;
        if (measure.Height(ShortenedLog(logText, middle, logName)) <= room) fewest = middle;
        else most = middle - 1;
    }
    return ShortenedLog(logText, fewest, logName);
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
