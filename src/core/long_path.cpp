#include "core/long_path.h"

#include <algorithm>

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// "\\server\..." and not "\\?\..." or "\\.\..." (already a form of the system's own).
bool IsUnc(std::wstring_view path) {
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
}

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    if (fullPath.size() < kPlainPathLimit) return std::wstring(fullPath);
    if (IsDriveAbsolute(fullPath)) return std::wstring(kExtended) + std::wstring(fullPath);
    if (IsUnc(fullPath)) return std::wstring(kExtendedUnc) + std::wstring(fullPath.substr(2));
    return std::wstring(fullPath);
}

std::wstring PlainPath(std::wstring_view path) {
    if (path.substr(0, kExtendedUnc.size()) == kExtendedUnc) return L"\\\\" + std::wstring(path.substr(kExtendedUnc.size()));
    std::wstring_view rest = path.substr(std::min(path.size(), kExtended.size()));
    if (path.substr(0, kExtended.size()) == kExtended && IsDriveAbsolute(rest)) return std::wstring(rest);
    return std::wstring(path);
}
