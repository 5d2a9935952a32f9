#pragma once
// The test file format: what a drop writes, and how the generated test source is found in it.
// Free of the operating system, so the same rules build natively for fuzzing.
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_record.h"

// The test file beside a dropped source: its directory + base name + ".test".
std::string TestFilePathFor(std::string_view sourcePath);
// The same for the source's path as the system has it, every character kept: the test file is
// made under the source's own name even where the settings keep the source by its short form.
std::wstring TestFilePathFor(std::wstring_view sourcePath);

// Outside the "relative" mode the record's `output` gains its trailing "\" where it lacks one,
// as a drop of a source does before it writes the test file.
void EndOutputFolderWithBackslash(SettingsRecord& record);
// The bytes of a new test file for a dropped source. Outside the "relative" mode it adds the
// "output=" line, in the output folder with its trailing "\".
std::string NewTestFileText(std::string_view sourcePath, const SettingsRecord& record);

// Reading a test file line by line for the generated test source path.
struct GeneratedPathScan {
    std::string source;                 // the last "source" value so far
    std::optional<std::string> output;  // the first "output" value ends the scan
};
// Takes one line; returns true when the scan is complete (an "output" line was found).
bool ScanTestFileLine(GeneratedPathScan& scan, std::string_view line);
// The path the scan yields: the output value, or the derivation from the source value.
std::string GeneratedPathFromScan(const GeneratedPathScan& scan);
