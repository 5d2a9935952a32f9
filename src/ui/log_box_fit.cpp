#include "ui/log_box_fit.h"

#include <algorithm>
#include <vector>

#include "core/log_excerpt.h"
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
    // The least width a character takes, with room to spare (a fourth of the average).
    int NarrowestWidth() const {
        TEXTMETRICW text = {};
        return screen_.Get() && GetTextMetricsW(screen_.Get(), &text) ? std::max(1, static_cast<int>(text.tmAveCharWidth / 4)) : 1;
    }
    int Height(std::string_view text) const {
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
// fits. Each line is measured once, from the last one up, until the box is full, so the cost
// grows with what is shown and never with the log's length.
size_t LinesThatFitOn(HMONITOR monitor, const std::vector<std::string_view>& lines, bool whole,
                      const std::string& notice) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return lines.size();
    const RECT& work = info.rcWork;
    int dpi = MonitorDpi(monitor);
    int room = work.bottom - work.top - MulDiv(kMessageBoxFrameHeight, dpi, 96);
    int width = (work.right - work.left) / 2;
    MessageTextMeasure measure(MessageFontAt(dpi), width);
    int lineHeight = measure.LineHeight();
    // No character is narrower than this: a line longer than the box could hold in these is
    // too tall for it and is not measured (measuring a line costs more than its length).
    size_t mostCharacters = static_cast<size_t>(room > 0 ? room / lineHeight : 0) *
                            static_cast<size_t>(std::max(width, 1)) / std::max(measure.NarrowestWidth(), 1);

    int used = 0;
    std::vector<int> heights;  // of the last lines, from the last one up
    for (auto line = lines.rbegin(); line != lines.rend() && line->size() <= mostCharacters; ++line) {
        int height = std::max(measure.Height(*line), lineHeight);
        if (used + height > room) break;
        used += height;
        heights.push_back(height);
    }
    if (whole && heights.size() == lines.size()) return lines.size();
    // The first line, which says what is left out, takes its room from the last lines.
    for (int noticeHeight = measure.Height(notice); !heights.empty() && used + noticeHeight > room; heights.pop_back())
        used -= heights.back();
    return heights.size();
}

}  // namespace

std::string LogTextThatFits(HWND mainWindow, const std::string& tail, bool whole, const std::string& logName) {
    POINT pointer = {};
    GetCursorPos(&pointer);
    std::vector<HMONITOR> monitors;
    for (HMONITOR monitor : {MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY)})
        if (monitor && std::find(monitors.begin(), monitors.end(), monitor) == monitors.end()) monitors.push_back(monitor);

    std::vector<std::string_view> lines = LogTailLines(tail, whole);
    // The notice at its longest: it counts the lines left out, at most all of them.
    std::string notice = LogExcerpt(tail, whole, 0, logName);
    size_t shown = lines.size();
    for (HMONITOR monitor : monitors) shown = std::min(shown, LinesThatFitOn(monitor, lines, whole, notice));
    return whole && shown >= lines.size() ? tail : LogExcerpt(tail, whole, shown, logName);
}
