#include "platform/ansi.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

// Runs a conversion into a buffer that starts at the size the sizing call reports and grows
// while the converting call finds it too small: with some flags and code pages the sizing call
// reports less than the conversion writes. The text is as long as the converting call says, so
// no NUL of the buffer is ever left behind. An empty result leaves the system's reason in `error`.
template <typename Text, typename Convert>
Text Converted(int sourceLength, Convert convert, DWORD& error) {
    error = 0;
    int capacity = convert(nullptr, 0);
    if (capacity <= 0) capacity = sourceLength;
    Text result;
    for (;;) {
        result.resize(static_cast<size_t>(capacity));
        int written = convert(result.data(), capacity);
        if (written > 0) {
            result.resize(static_cast<size_t>(written));
            return result;
        }
        error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || capacity > INT_MAX / 2) return {};
        capacity = std::max(capacity * 2, 16);
    }
}

}  // namespace

std::wstring ToWide(std::string_view text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    DWORD error = 0;
    return Converted<std::wstring>(length, [&](wchar_t* buffer, int capacity) {
        return MultiByteToWideChar(CP_ACP, 0, text.data(), length, buffer, capacity);
    }, error);
}

unsigned long AnsiConversionFlags(unsigned codePage) {
    switch (codePage) {
    case 42:                                                   // Symbol
    case 50220: case 50221: case 50222: case 50225: case 50227: case 50229:  // ISO-2022
    case 54936:                                                // GB18030
    case 65000:                                                // UTF-7
    case 65001:                                                // UTF-8
        return 0;
    default:
        return codePage >= 57002 && codePage <= 57011 ? 0 : WC_NO_BEST_FIT_CHARS;  // ISCII
    }
}

// A character the code page lacks becomes its default character ("?"), never a look-alike:
// the system's best fit would turn an "a" with macron (U+0101) into a plain "a", so a dropped
// source would name another file, whose test file the drop would then select or create. UTF-8
// holds every character and has no best fit to avoid.
std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    DWORD flags = AnsiConversionFlags(GetACP());
    auto convert = [&](char* buffer, int capacity) {
        return WideCharToMultiByte(CP_ACP, flags, text.data(), length, buffer, capacity, nullptr, nullptr);
    };
    DWORD error = 0;
    std::string ansi = Converted<std::string>(length, convert, error);
    // A code page that refuses the flag after all still converts, with the system's own rules.
    if (ansi.empty() && flags != 0 && error == ERROR_INVALID_FLAGS) {
        flags = 0;
        ansi = Converted<std::string>(length, convert, error);
    }
    return ansi;
}
