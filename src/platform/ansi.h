#pragma once
// The one pair of conversions between the ANSI texts of the logic and the wide Win32 calls.
#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text);
std::string ToAnsi(std::wstring_view text);
