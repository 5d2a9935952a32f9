#include "platform/path_forms.h"

#include <windows.h>

#include "core/long_path.h"
#include "core/system_limits.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/handles.h"

namespace {

// Asks a function that gives the length it needs (with the NUL) when the buffer is too short.
template <typename Fill>
std::wstring AskTwice(Fill fill) {
    QuietErrorMode quiet;
    DWORD needed = fill(nullptr, 0);
    if (needed == 0) return {};
    std::wstring text(needed, L'\0');
    DWORD length = fill(text.data(), needed);
    if (length == 0 || length >= needed) return {};
    text.resize(length);
    return text;
}

}  // namespace

std::string FullPath(std::string_view path) {
    std::wstring wide = ToWide(path);
    std::wstring full = AskTwice(
        [&wide](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
    return full.empty() ? std::string(path) : ToAnsi(full);
}

// Asked in the "\\?\" form where the path is that long, so that Windows without long paths
// answers too.
std::optional<std::string> ShortForm(std::string_view path) {
    std::wstring asked = SystemPath(ToWide(path));
    std::wstring shortPath =
        AskTwice([&asked](wchar_t* buffer, DWORD size) { return GetShortPathNameW(asked.c_str(), buffer, size); });
    if (shortPath.empty()) return std::nullopt;
    return ToAnsi(PlainPath(shortPath));
}

std::string CommandLinePath(std::string_view path) {
    // A path short enough costs no question to the file system.
    std::optional<std::string> shortForm = path.size() < kPlainPathLimit ? std::nullopt : ShortForm(path);
    return PathWithinPlainLimit(path, shortForm).value_or(std::string(path));
}
