// The path rules that build natively: the "\\?\" form of long paths and back, a program path in
// its own quotes, the settings file beside the executable and the test file beside a source.
//
// Input: a flag byte (odd: 260 more characters in the middle of the path, so long forms are
// reached), then the path's characters, each byte one of a few that the rules look at or any
// other byte as it stands.
//
// Properties: ExtendedLengthPath leaves a path shorter than 260 characters, a relative one and a
// "\\?\" or "\\.\" one as they stand, and gives a drive-absolute or UNC one of 260 or more its
// "\\?\" or "\\?\UNC\" form; applied twice it changes nothing more, and PlainPath gives the
// drive-absolute or UNC path back. UnquotedProgram drops a program path's own quotes only, and
// the command line that QuotedProgram starts names that program (CommandLineProgram) and splits
// to it first. SettingsFilePath and TestFilePathFor keep the path up to its last "." (the settings
// file: anywhere in the path; the test file: in the name only) and add ".ini" or ".test"; their
// ANSI and wide forms agree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/command_line_split.h"
#include "core/long_path.h"
#include "core/settings_record.h"
#include "core/test_file.h"
#include "core/tool_contract.h"
#include "fuzz_support.h"

namespace {

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }
std::string Narrowed(std::wstring_view text) { return std::string(text.begin(), text.end()); }

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
    else FUZZ_REQUIRE(extended == wide, path, Narrowed(extended));
    FUZZ_REQUIRE(ExtendedLengthPath(extended) == extended, path);
    if (IsDriveAbsolute(wide) || IsUnc(wide)) FUZZ_REQUIRE(PlainPath(extended) == wide, path, Narrowed(PlainPath(extended)));

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
