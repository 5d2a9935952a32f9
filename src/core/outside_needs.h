#pragma once
// What the core needs from the system it runs on, and nothing else: the code page's lead bytes
// and its lower-casing. Every build that links the core supplies both: the Windows build asks the
// system (platform/core_on_windows.cpp), native builds emulate code page 1252
// (tests/native/core_on_cp1252.cpp), so the rules give the same results everywhere.
#include <bitset>
#include <string>
#include <string_view>

// The bytes that start a double-byte character in the system code page (932, 936, 949, 950);
// none in a single-byte code page or in UTF-8. The second byte of such a character can be any
// byte from 0x40 up, "\" and letters included, but never ".", ":", "=" or the space.
using LeadBytes = std::bitset<256>;
const LeadBytes& SystemLeadBytes();

// The system's lower-casing of ANSI text (letters beyond A-Z follow the code page's rules).
std::string LowerCase(std::string_view text);
