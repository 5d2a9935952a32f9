#pragma once
// Which paths Windows takes only in their "\\?\" form. Free of the operating system, so the rule
// builds natively for the core's tests.
#include <cstddef>
#include <string>
#include <string_view>

// Windows refuses a plain path of this many characters or more to a program, unless the program
// declares itself long-path aware and the machine allows long paths (off by default).
constexpr size_t kPlainPathLimit = 260;

// A full path (drive-absolute "D:\..." or UNC "\\server\share\...") of kPlainPathLimit characters
// or more in the form the system takes at any length ("\\?\D:\...", "\\?\UNC\server\share\...");
// every other path (shorter, relative, or in a "\\?\" or "\\.\" form already) as it stands. The
// "\\?\" form takes every character literally, so the path must be in its full, normalised form.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// A path without the "\\?\" prefix that ExtendedLengthPath adds, for paths the system gives back
// in that form; every other path as it stands.
std::wstring PlainPath(std::wstring_view path);
