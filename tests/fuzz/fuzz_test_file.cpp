// A test file's bytes into the generated test source path, and a dropped source's test file
// back into the path it names.
//
// Input: the bytes of a test file.
//
// Properties of the path read from any test file: it is the value of the first line whose first
// six characters are "output" in any case, when there is one; otherwise it is the last "source"
// value's directory + "test\" + its name without the last extension + "_test.bas", so it always
// ends in "_test.bas"; lines after the first "output" line do not matter; the path holds no CR
// and no byte 26.
//
// Drop round trip: the input's first line, without spaces at its ends, is taken as a dropped
// source path and its second line, without leading spaces, as the `output` setting. The test
// file a drop writes for them (in both directory modes) has the directive, the source line and,
// outside the "relative" mode, the output line; reading it back gives the source's directory +
// "test\" + base name + "_test.bas" in the "relative" mode, and `output` (ending in "\") + base
// name + "_test.bas" otherwise. The test file lies beside the source and ends in ".test".
//
// Double-byte split: with the lead bytes of code page 932, the same source splits after the last
// "\" that is a character of its own, counted from the start (a second byte 5C is none), and
// `output` gains a "\" unless its last character is one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "line_helpers.h"
#include "core/text.h"
#include "core/test_file.h"

namespace {

std::string GeneratedPathOf(const std::vector<std::string>& lines) {
    GeneratedPathScan scan;
    for (const std::string& line : lines)
        if (ScanTestFileLine(scan, line)) break;
    return GeneratedPathFromScan(scan);
}

// A line's first six characters spell `key` in any case (the keys are plain ASCII, and no other
// byte lowers into ASCII).
bool HasKey(std::string_view line, std::string_view key) {
    if (line.size() < key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != key[i]) return false;
    }
    return true;
}

// The value of a key line: after the first "=", spaces trimmed; the whole line without "=".
std::string ValueOf(std::string_view line) {
    size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string(line) : TrimSpaces(line.substr(equals + 1));
}

std::string FromSource(std::string_view source) {
    size_t slash = source.rfind('\\');
    std::string_view directory = slash == std::string_view::npos ? "" : source.substr(0, slash + 1);
    std::string_view name = slash == std::string_view::npos ? source : source.substr(slash + 1);
    std::string_view base = name.substr(0, name.rfind('.'));
    return std::string(directory) + "test\\" + std::string(base) + "_test.bas";
}

void CheckDropRoundTrip(const std::string& source, const std::string& outputSetting, bool relative) {
    SettingsRecord record;
    record.directory = relative ? "relative" : "specific";
    record.output = outputSetting;
    std::string text = NewTestFileText(source, record);
    EndOutputFolderWithBackslash(record);

    size_t slash = source.rfind('\\');
    std::string directory = slash == std::string::npos ? "" : source.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    std::string base = name.substr(0, name.rfind('.'));
    std::string testFile = TestFilePathFor(source);
    FUZZ_REQUIRE(testFile == directory + base + ".test", source, testFile);

    std::vector<std::string> lines = SplitLines(text);
    FUZZ_REQUIRE(fuzz::EndsWithText(text, "\r\n"), text);
    FUZZ_REQUIRE(lines.size() == (relative ? 2u : 3u), text);
    FUZZ_REQUIRE(lines[0] == "[quarex]", text);
    FUZZ_REQUIRE(lines[1] == "source=" + source, text);

    std::string generated = GeneratedPathOf(lines);
    if (relative) {
        FUZZ_REQUIRE(record.output == outputSetting, record.output);
        FUZZ_REQUIRE(generated == directory + "test\\" + base + "_test.bas", source, generated);
    } else {
        std::string expectedOutput = fuzz::EndsWithText(outputSetting, "\\") ? outputSetting : outputSetting + "\\";
        FUZZ_REQUIRE(record.output == expectedOutput, outputSetting, record.output);
        FUZZ_REQUIRE(lines[2] == "output=" + expectedOutput + base + "_test.bas", text);
        FUZZ_REQUIRE(generated == expectedOutput + base + "_test.bas", source, generated);
    }
}

// Where the last "\" character of the text ends (0 when none), walking characters of code page 932.
size_t EndOfLastBackslash932(std::string_view text, bool& endsInBackslash) {
    size_t end = 0;
    endsInBackslash = false;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool lead = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < text.size();
        endsInBackslash = !lead && c == '\\';
        if (endsInBackslash) end = i + 1;
        i += lead ? 2 : 1;
    }
    return end;
}

void CheckDoubleByteSplit(const std::string& source, const std::string& outputSetting) {
    LeadBytes shiftJis;
    for (unsigned c = 0x81; c <= 0x9F; ++c) shiftJis.set(c);
    for (unsigned c = 0xE0; c <= 0xFC; ++c) shiftJis.set(c);
    bool sourceEnds = false, outputEnds = false;
    size_t directory = EndOfLastBackslash932(source, sourceEnds);
    EndOfLastBackslash932(outputSetting, outputEnds);
    PathParts parts = SplitPath(source, shiftJis);
    FUZZ_REQUIRE(parts.directory == source.substr(0, directory) && parts.name == source.substr(directory), source,
                 parts.directory);
    FUZZ_REQUIRE(LastPosition(source, "\\", shiftJis) == directory, source);
    FUZZ_REQUIRE(EndsWith(outputSetting, "\\", shiftJis) == outputEnds, outputSetting);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = SplitLines(bytes);
    std::string generated = GeneratedPathOf(lines);

    FUZZ_REQUIRE(!fuzz::Contains(generated, '\r') && !fuzz::Contains(generated, '\x1a'), generated);

    size_t firstOutput = lines.size();
    std::string lastSource;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (HasKey(lines[i], "output")) {
            firstOutput = i;
            break;
        }
        if (HasKey(lines[i], "source")) lastSource = ValueOf(lines[i]);
    }
    if (firstOutput < lines.size()) {
        FUZZ_REQUIRE(generated == ValueOf(lines[firstOutput]), lines[firstOutput], generated);
        // Nothing after the first output line is read.
        std::vector<std::string> upToOutput(lines.begin(), lines.begin() + firstOutput + 1);
        FUZZ_REQUIRE(GeneratedPathOf(upToOutput) == generated, generated);
    } else {
        FUZZ_REQUIRE(fuzz::EndsWithText(generated, "_test.bas"), generated);
        FUZZ_REQUIRE(generated == FromSource(lastSource), lastSource, generated);
    }

    std::string source = lines.empty() ? "" : TrimSpaces(lines[0]);
    std::string output = lines.size() < 2 ? "" : lines[1].substr(std::min(lines[1].find_first_not_of(' '), lines[1].size()));
    CheckDropRoundTrip(source, output, true);
    CheckDropRoundTrip(source, output, false);
    CheckDoubleByteSplit(source, output);
    return 0;
}
