#include "core/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace {

// One sRGB channel, linearised.
double Linear(std::uint8_t channel) {
    double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

}  // namespace

double ContrastRatio(Rgb first, Rgb second) {
    double a = RelativeLuminance(first);
    double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool UseSystemWindowColours(bool highContrastOn, Rgb text, Rgb ownBackground) {
    return highContrastOn || ContrastRatio(text, ownBackground) < kMinimumTextContrast;
}
