// The path rules that build natively. Input: a flag byte (odd: 260 more characters in the middle,
// so that long forms are reached), then the path, each byte below 80 standing for one of the
// characters the rules look at.
// Properties: ExtendedLengthPath gives a drive-absolute or UNC path of 260 or more characters its
// "\\?\" or "\\?\UNC\" form and leaves every other path as it stands, changes nothing when applied
// again, and PlainPath undoes it; UnquotedProgram drops a program path's own quotes only, and the
// command line QuotedProgram starts names that program (CommandLineProgram, the system's split);
// SettingsFilePath and TestFilePathFor cut before the last "." (of the path; of the name) and
// add ".ini" and ".test", alike in their ANSI and wide forms.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/command_line_split.h"
#include "core/long_path.h"
#include "core/settings_record.h"
#include "core/test_file.h"
#include "core/command_lines.h"
#include "fuzz_support.h"

namespace {

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

bool IsDriveAbsolute(std::wstring_view p) {
    return p.size() >= 3 && ((p[0] | 0x20) >= L'a' && (p[0] | 0x20) <= L'z') && p[1] == L':' && p[2] == L'\\';
}
bool IsUnc(std::wstring_view p) { return p.size() >= 3 && p.substr(0, 2) == L"\\\\" && p[2] != L'?' && p[2] != L'.'; }

// `made` is `path` cut before its last "." at or after `searchFrom` (whole where there is none
// there), then `added`.
void RequireCutAndAdded(std::string_view path, std::string_view made, std::string_view added, size_t searchFrom) {
    size_t dot = path.rfind('.');
    size_t kept = dot != std::string_view::npos && dot >= searchFrom ? dot : path.size();
    FUZZ_REQUIRE(made.size() == kept + added.size() && made.substr(0, kept) == path.substr(0, kept) &&
                     fuzz::EndsWithText(made, added),
                 path, made);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static constexpr char kAlphabet[] = {'C', ':', '\\', '?', '.', '"', ' ', 'U', 'N', '\t'};
    std::string path;
    for (size_t i = 1; i < size; ++i) {
        if (i == size / 2 && (data[0] & 1)) path.append(260, 'x');
        path += data[i] < sizeof kAlphabet * 8 ? kAlphabet[data[i] % sizeof kAlphabet] : static_cast<char>(data[i]);
    }
    std::wstring wide = Widened(path);

    std::wstring extended = ExtendedLengthPath(wide);
    if (wide.size() >= kPlainPathLimit && IsDriveAbsolute(wide)) FUZZ_REQUIRE(extended == L"\\\\?\\" + wide, path);
    else if (wide.size() >= kPlainPathLimit && IsUnc(wide)) FUZZ_REQUIRE(extended == L"\\\\?\\UNC\\" + wide.substr(2), path);
    else FUZZ_REQUIRE(extended == wide, path);
    FUZZ_REQUIRE(ExtendedLengthPath(extended) == extended, path);
    if (IsDriveAbsolute(wide) || IsUnc(wide)) FUZZ_REQUIRE(PlainPath(extended) == wide, path);

    bool ownQuotes = path.size() >= 2 && path.front() == '"' && path.back() == '"';
    std::string_view program = UnquotedProgram(path);
    FUZZ_REQUIRE(program == (ownQuotes ? std::string_view(path).substr(1, path.size() - 2) : std::string_view(path)), path);
    if (!fuzz::Contains(program, '"')) {
        std::string line = QuotedProgram(path) + " \"x\" /add";
        FUZZ_REQUIRE(CommandLineProgram(line) == program, line);
        FUZZ_REQUIRE(SplitCommandLine(line).front() == program, line);
    }

    std::string settings = SettingsFilePath(path);
    RequireCutAndAdded(path, settings, ".ini", 0);
    FUZZ_REQUIRE(Widened(settings) == SettingsFilePath(wide), path, settings);
    std::string testFile = TestFilePathFor(path);
    size_t slash = path.rfind('\\');
    RequireCutAndAdded(path, testFile, ".test", slash == std::string::npos ? 0 : slash + 1);
    FUZZ_REQUIRE(Widened(testFile) == TestFilePathFor(std::wstring_view(wide)), path, testFile);
    return 0;
}
