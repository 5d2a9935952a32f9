#pragma once
// The one pair of conversions between the ANSI texts of the logic and the wide Win32 calls.
#include <string>
#include <string_view>

std::wstring ToWide(std::string_view text);
std::string ToAnsi(std::wstring_view text);

// The flags of the conversion to the given code page: no best fit where the code page takes that
// flag, none where the system refuses every flag (UTF-8, GB18030, UTF-7, the ISO-2022 and ISCII
// code pages, Symbol). Public for the tests.
unsigned long AnsiConversionFlags(unsigned codePage);
