#include "ui/static_colours.h"

#include "core/colour_contrast.h"
#include "ui/frame_state.h"

namespace {

Rgb RgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

bool HighContrastOn() {
    HIGHCONTRASTW state = {};
    state.cbSize = sizeof state;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) &&
           (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Chooses the colours a static control is drawn in under the present colour scheme, with a new
// brush where its colour changed. True when anything it draws with changed.
bool ChooseReadableColours(StaticColours& entry, bool highContrastOn) {
    bool systemColours =
        UseSystemWindowColours(highContrastOn, RgbOf(GetSysColor(entry.ownTextColour)), RgbOf(entry.ownBackground));
    int text = systemColours ? COLOR_WINDOWTEXT : entry.ownTextColour;
    COLORREF background = systemColours ? GetSysColor(COLOR_WINDOW) : entry.ownBackground;
    bool changed = text != entry.textSystemColour;
    entry.textSystemColour = text;
    if (entry.brush && background == entry.background) return changed;
    HBRUSH brush = CreateSolidBrush(background);
    if (!brush) return changed;
    entry.brush.Reset(brush);
    entry.background = background;
    return true;
}

}  // namespace

void SetStaticColours(HWND control, int textSystemColour, COLORREF background) {
    FrameState* state = StateOf(GetParent(control));
    if (!state) return;
    StaticColours entry;
    entry.control = control;
    entry.ownTextColour = textSystemColour;
    entry.ownBackground = background;
    ChooseReadableColours(entry, HighContrastOn());
    state->colours.push_back(std::move(entry));
    InvalidateRect(control, nullptr, TRUE);
}

INT_PTR OnControlColour(const FrameState& state, HDC dc, HWND control) {
    for (const StaticColours& entry : state.colours) {
        if (entry.control != control) continue;
        SetTextColor(dc, GetSysColor(entry.textSystemColour));
        SetBkColor(dc, entry.background);
        return reinterpret_cast<INT_PTR>(entry.brush.Get());
    }
    return FALSE;
}

// The colour scheme or the high-contrast setting may have changed: new colours, drawn at once.
// After a change of system colours everything is drawn again; otherwise what changed.
void OnColourSchemeChange(HWND dialog, FrameState& state, bool systemColoursChanged) {
    if (systemColoursChanged) {
        // Only top-level windows hear of it; the controls draw with system colours too.
        for (const PlacedControl& placed : state.controls)
            SendMessageW(placed.control, WM_SYSCOLORCHANGE, 0, 0);
    }
    bool highContrastOn = HighContrastOn();
    for (StaticColours& entry : state.colours)
        if (ChooseReadableColours(entry, highContrastOn) || systemColoursChanged)
            InvalidateRect(entry.control, nullptr, TRUE);
    if (systemColoursChanged) InvalidateRect(dialog, nullptr, TRUE);
}
