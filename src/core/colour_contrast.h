#pragma once
// When a control's own colours give way to the system's window colours: the rule alone, with no
// windows.h, so that it builds and is tested natively.
#include <cstdint>

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white): the relative
// luminances of the sRGB colours, each plus 0.05, the lighter over the darker.
double ContrastRatio(Rgb first, Rgb second);

// The usual minimum contrast for text of normal size.
constexpr double kMinimumTextContrast = 4.5;

// A background of the control's own is kept only at normal contrast and where the text colour
// can be read on it; otherwise the control is drawn in the system's window colours.
bool UseSystemWindowColours(bool highContrastOn, Rgb text, Rgb ownBackground);
