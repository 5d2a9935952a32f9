// A whole settings file's bytes into the settings record, as loading reads them.
//
// Input: the bytes of a settings file.
//
// Properties: `directory`, `compiler` and `include` only ever hold their allowed values (or stay
// empty when the file has no line for them); the derived fields follow the record; every field
// equals what a plain reading of the file's lines gives (the last line of a key wins, the key is
// matched whole and without regard to case, the value ends at a second "="); loading the same
// lines again changes nothing; and whatever the file held, a saved record written after it is
// read back exactly.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_settings.h"
#include "core/text.h"

namespace {

// The key of a settings line with A to Z lowered: the keys are plain ASCII, and no other byte
// lowers into ASCII, so this matches the same lines as the platform's lower-casing.
std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// What the last line of `key` sets, read the plain way; nothing when no line sets it.
std::optional<std::string> ExpectedValue(const std::vector<std::string>& lines, const fuzz::SettingsKey& key) {
    std::optional<std::string> found;
    for (const std::string& raw : lines) {
        size_t first = raw.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        std::string_view line = std::string_view(raw).substr(first, raw.find_last_not_of(' ') + 1 - first);
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || AsciiLower(line.substr(0, equals)) != key.name) continue;
        std::string_view value = line.substr(equals + 1);
        value = value.substr(0, value.find('='));
        std::string field = key.name;
        if (field == "directory") {
            found = LowerCase(value) == "relative" ? "relative" : "specific";
        } else if (field == "compiler") {
            found = LowerCase(value) == "pbwin" ? "pbwin" : "pbcc";
        } else if (field == "include") {
            double number = NumericValue(value);
            found = number == 2 ? "2" : number == 3 ? "3" : number == 4 ? "4" : "1";
        } else {
            found = std::string(value);
        }
    }
    return found;
}

// The record as a save and a load would settle it: allowed values in the three choice fields,
// no trailing spaces in the others (the only thing of a loaded value that a save can lose).
SettingsRecord Settled(const SettingsRecord& loaded) {
    SettingsRecord settled = loaded;
    if (settled.directory.empty()) settled.directory = "relative";
    if (settled.compiler.empty()) settled.compiler = "pbwin";
    if (settled.include.empty()) settled.include = "1";
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys)
        if (key.freeText) settled.*key.field = TrimTrailingSpaces(settled.*key.field);
    return settled;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    SettingsRecord loaded;
    fuzz::LoadSettingsBytes(loaded, bytes);
    fuzz::RequireLoadedRecordIsSound(loaded, "");

    std::vector<std::string> lines = SplitLines(bytes);
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys) {
        std::optional<std::string> expected = ExpectedValue(lines, key);
        FUZZ_REQUIRE(loaded.*key.field == expected.value_or(""), key.name, expected.value_or(""),
                     loaded.*key.field);
    }

    // Reading the same file again over the loaded record settles on the same record.
    SettingsRecord again = loaded;
    fuzz::LoadSettingsBytes(again, bytes);
    fuzz::RequireSamePersistedFields(loaded, again);
    FUZZ_REQUIRE(again.activeCompilerPath == loaded.activeCompilerPath);
    FUZZ_REQUIRE(again.activeIncludeDir == loaded.activeIncludeDir);

    // A saved file after any earlier content (that ends its last line and has no byte 26) wins:
    // every one of its twelve lines replaces what came before.
    SettingsRecord settled = Settled(loaded);
    std::string before(bytes.substr(0, bytes.find('\x1a')));
    if (!before.empty() && before.back() != '\r') before += "\r\n";
    SettingsRecord reloaded;
    fuzz::LoadSettingsBytes(reloaded, before + FormatSettingsFile(settled));
    fuzz::RequireSamePersistedFields(settled, reloaded);
    fuzz::RequireLoadedRecordIsSound(reloaded, "");
    return 0;
}
