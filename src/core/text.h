#pragma once
// Text rules of the tool's file formats. Texts are byte strings in the system ANSI code page;
// positions are 1-based as the formats describe them. Nothing here touches the operating system;
// what the rules need of it is in outside_needs.h.
#include <string>
#include <string_view>

#include "core/outside_needs.h"

// 1-based position of the last occurrence of `search` in `text`, counting only occurrences that
// start a character (never one inside a double-byte character); 0 when it does not occur.
size_t LastPosition(std::string_view text, std::string_view search, const LeadBytes& lead = SystemLeadBytes());

std::string LeftPart(std::string_view text, size_t count);
// `count` bytes from the 1-based `start`; the rest of the text when it runs past the end.
std::string MiddlePart(std::string_view text, size_t start, size_t count = std::string_view::npos);

// Trimming removes the space character (byte 32) only; tabs, CR and LF stay.
std::string TrimSpaces(std::string_view text);
// The same trimming as a view into `text`, for readers that go through many lines.
std::string_view TrimSpacesView(std::string_view text);

// True when the text's last characters are `tail`: a double-byte character whose second byte
// is a "\" does not end the text in "\".
bool EndsWith(std::string_view text, std::string_view tail, const LeadBytes& lead = SystemLeadBytes());

// The number at the start of the text after leading spaces, tabs, CR and LF: sign, digits with a
// decimal point, exponent E or D; or &H, &B, &O, &Q and bare & (octal) integers. 0 when none.
double NumericValue(std::string_view text);

// A path split at its last "\": the directory part keeps the "\" (empty when there is none).
struct PathParts {
    std::string directory;
    std::string name;
};
PathParts SplitPath(std::string_view path, const LeadBytes& lead = SystemLeadBytes());

// The text cut before its last "."; the whole text when it has none.
std::string CutBeforeLastDot(std::string_view text);
