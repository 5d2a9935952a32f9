#pragma once
// Helpers shared by the fuzz targets: a property check that stops the run with a readable
// report (libFuzzer then keeps the input as a crash artifact), and small text helpers that the
// targets use to build their expectations independently of the code under test.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Bytes shown with C escapes, so that CR, LF, byte 26 and quotes are visible in a report.
inline std::string Escaped(std::string_view text) {
    std::string shown = "\"";
    for (unsigned char c : text) {
        if (c == '\\' || c == '"') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (c >= 32 && c < 127) {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        }
    }
    return shown + "\"";
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              std::initializer_list<std::string_view> shown) {
    std::fprintf(stderr, "\n%s:%d: property violated: %s\n", file, line, condition);
    int index = 0;
    for (std::string_view value : shown)
        std::fprintf(stderr, "  [%d] %s\n", index++, Escaped(value).c_str());
    std::abort();
}

inline bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

inline bool StartsWith(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && text.substr(0, head.size()) == head;
}

inline bool EndsWithText(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The text split at every occurrence of `separator` (an empty text gives one empty piece).
inline std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        size_t found = text.find(separator, start);
        if (found == std::string_view::npos) break;
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

// The text without the characters in `drop`.
inline std::string Without(std::string_view text, std::string_view drop) {
    std::string kept;
    for (char c : text)
        if (drop.find(c) == std::string_view::npos) kept += c;
    return kept;
}

}  // namespace fuzz

// Checks a property; on violation prints the condition and the given values, then aborts.
#define FUZZ_REQUIRE(condition, ...)                                              \
    do {                                                                          \
        if (!(condition)) ::fuzz::Fail(__FILE__, __LINE__, #condition, {__VA_ARGS__}); \
    } while (0)
