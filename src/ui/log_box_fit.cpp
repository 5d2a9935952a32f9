#include "ui/log_box_fit.h"

#include <algorithm>
#include <vector>

#include "core/report_texts.h"
#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/system_functions.h"
#include "ui/dialog_scale.h"

namespace {

// Room a message box needs besides its text, in pixels at 96 DPI: caption, frame, the margins
// around the text and the band with the OK button, with some to spare.
constexpr int kMessageBoxFrameHeight = 160;

// The monitor's own DPI (Windows 8.1 and later, shcore.dll, loaded from the system folder);
// elsewhere every monitor has the system DPI.
int MonitorDpi(HMONITOR monitor) {
    using Function = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static auto getDpiForMonitor = SystemLibraryFunction<Function>(L"shcore.dll", "GetDpiForMonitor");
    UINT dpiX = 0, dpiY = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (getDpiForMonitor && getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY) == S_OK && dpiY > 0)
        return static_cast<int>(dpiY);
    return SystemDpi();
}

// The system's message font as a box at `dpi` uses it.
LOGFONTW MessageFontAt(int dpi) {
    using Function = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static auto forDpi = User32Function<Function>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    // Older systems give it at the system DPI only: scaled like the box itself.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont, &metrics.lfMessageFont);
    }
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return metrics.lfMessageFont;
}

// How a message box's text is laid out: in the message font, broken into lines no wider than a
// box may grow (measured as narrow as any system makes it, so never too short).
class MessageTextMeasure {
public:
    MessageTextMeasure(const LOGFONTW& font, int maximumWidth)
        : width_(maximumWidth),
          font_(CreateFontIndirectW(&font)),
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

// The most last lines of the log a box on this monitor shows: all of them where the whole log
// fits.
size_t LinesThatFitOn(HMONITOR monitor, const std::string& logText, const std::string& logName, size_t lines) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return lines;
    const RECT& work = info.rcWork;
    int dpi = MonitorDpi(monitor);
    int room = work.bottom - work.top - MulDiv(kMessageBoxFrameHeight, dpi, 96);
    MessageTextMeasure measure(MessageFontAt(dpi), (work.right - work.left) / 2);

    // Every line of the log takes at least one line of the box: a log with more lines than
    // the box has room for cannot fit, whatever it says, and needs no measuring.
    size_t roomInLines = room > 0 ? static_cast<size_t>(room / measure.LineHeight()) : 0;
    if (lines <= roomInLines && measure.Height(logText) <= room) return lines;

    // The most last lines that fit beside the first line; more lines never take less room.
    size_t fewest = 0, most = std::min(lines, roomInLines);
    while (fewest < most) {
        size_t middle = (fewest + most + 1) / 2;
        if (measure.Height(ShortenedLog(logText, middle, logName)) <= room) fewest = middle;
        else most = middle - 1;
    }
    return fewest;
}

}  // namespace

std::string LogTextThatFits(HWND mainWindow, const std::string& logText, const std::string& logName) {
    POINT pointer = {};
    GetCursorPos(&pointer);
    std::vector<HMONITOR> monitors;
    for (HMONITOR monitor : {MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY)})
        if (monitor && std::find(monitors.begin(), monitors.end(), monitor) == monitors.end()) monitors.push_back(monitor);

    size_t lines = LogLineCount(logText);
    size_t shown = lines;
    for (HMONITOR monitor : monitors) shown = std::min(shown, LinesThatFitOn(monitor, logText, logName, lines));
    return shown >= lines ? logText : ShortenedLog(logText, shown, logName);
}
