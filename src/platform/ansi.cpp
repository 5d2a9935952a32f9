#include "platform/ansi.h"

#include <windows.h>

std::wstring ToWide(std::string_view text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// A character the code page lacks becomes its default character ("?"), never a look-alike:
// the system's best fit would turn an "a" with macron (U+0101) into a plain "a", so a dropped
// source would name another file, whose test file the drop would then select or create.
std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), ansi.data(),
                        length, nullptr, nullptr);
    return ansi;
}
