#include "ui/log_box_fit.h"

#include <algorithm>
#include <vector>

#include "core/log_excerpt.h"
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
          selected_(dc_.Get(), font_ ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT)),
          metricsRead_(dc_.Get() && GetTextMetricsW(dc_.Get(), &metrics_)) {}

    int LineHeight() const { return metricsRead_ && metrics_.tmHeight > 0 ? metrics_.tmHeight : 16; }
    // The least width a character takes, with room to spare (a fourth of the average).
    int NarrowestWidth() const { return metricsRead_ ? std::max(1, static_cast<int>(metrics_.tmAveCharWidth / 4)) : 1; }
    int Height(std::string_view text) const {
        if (!dc_.Get()) return 0;
        std::wstring wide = ToWide(text);
        RECT rect = {0, 0, width_, 0};
        DrawTextW(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.bottom - rect.top;
    }

private:
    int width_;
    // A memory DC made like the screen's measures text as the screen does, and costs less to get.
    UniqueDc dc_{CreateCompatibleDC(nullptr)};
    UniqueFont font_;
    SelectedObject selected_;
    TEXTMETRICW metrics_ = {};
    bool metricsRead_;
};

struct BoxMonitor {
    HMONITOR handle;
    RECT work;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT*, LPARAM monitors) {
    reinterpret_cast<std::vector<HMONITOR>*>(monitors)->push_back(monitor);
    return TRUE;
}

// The monitors an ownerless box may appear on, with their work areas: the main window's, the
// primary one and the one under the pointer. With a single monitor, that one is all three and
// its work area is the primary's: the pointer and the window are not asked about (under Wine,
// each question about the display costs a round trip to the display server).
std::vector<BoxMonitor> MonitorsTheBoxMayAppearOn(HWND mainWindow) {
    std::vector<HMONITOR> all;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&all));
    RECT primaryWork = {};
    if (all.size() == 1 && SystemParametersInfoW(SPI_GETWORKAREA, 0, &primaryWork, 0))
        return {BoxMonitor{all.front(), primaryWork}};

    POINT pointer = {};
    GetCursorPos(&pointer);
    std::vector<BoxMonitor> monitors;
    for (HMONITOR monitor : {MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY),
                             MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY)}) {
        auto known = [monitor](const BoxMonitor& other) { return other.handle == monitor; };
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (monitor && std::none_of(monitors.begin(), monitors.end(), known) && GetMonitorInfoW(monitor, &info))
            monitors.push_back(BoxMonitor{monitor, info.rcWork});
    }
    return monitors;
}

// Where every line of a whole log fits.
constexpr size_t kAllLines = static_cast<size_t>(-1);

// The most last lines of the log a box on this monitor shows, kAllLines where the whole log
// fits. Lines are found and measured once each, from the last one up, until the box is full,
// so the cost grows with what is shown and never with the log's length.
size_t LinesThatFitOn(const BoxMonitor& monitor, std::string_view tail, bool whole, const std::string& notice) {
    const RECT& work = monitor.work;
    int dpi = MonitorDpi(monitor.handle);
    int room = work.bottom - work.top - MulDiv(kMessageBoxFrameHeight, dpi, 96);
    int width = (work.right - work.left) / 2;
    MessageTextMeasure measure(MessageFontAt(dpi), width);
    int lineHeight = measure.LineHeight();
    // No character is narrower than this: a line longer than the box could hold in these is
    // too tall for it and is not measured (measuring a line costs more than its length).
    size_t mostCharacters = static_cast<size_t>(room > 0 ? room / lineHeight : 0) *
                            static_cast<size_t>(std::max(width, 1)) / std::max(measure.NarrowestWidth(), 1);

    LogLinesFromTheEnd lines(tail, whole);
    int used = 0;
    std::vector<int> heights;  // of the last lines, from the last one up
    std::optional<std::string_view> line;
    while ((line = lines.Previous(mostCharacters))) {
        int height = std::max(measure.Height(*line), lineHeight);
        if (used + height > room) break;
        used += height;
        heights.push_back(height);
    }
    // Every line fits where the lines ran out before the room did.
    if (whole && !line && lines.AllGiven()) return kAllLines;
    // The first line, which says what is left out, takes its room from the last lines.
    for (int noticeHeight = measure.Height(notice); !heights.empty() && used + noticeHeight > room; heights.pop_back())
        used -= heights.back();
    return heights.size();
}

}  // namespace

std::string LogTextThatFits(HWND mainWindow, const std::string& tail, bool whole, const std::string& logName) {
    // The notice at its longest: it counts the lines left out, at most all of them.
    std::string notice = LogExcerpt(tail, whole, 0, logName);
    size_t shown = kAllLines;
    for (const BoxMonitor& monitor : MonitorsTheBoxMayAppearOn(mainWindow))
        shown = std::min(shown, LinesThatFitOn(monitor, tail, whole, notice));
    return whole && shown == kAllLines ? tail : LogExcerpt(tail, whole, shown, logName);
}
