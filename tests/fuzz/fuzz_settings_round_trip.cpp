// A settings record written the way SaveSettings writes it, then loaded again.
//
// Input: the record's nine free-text fields (active, output, pbwin, pbcc, quarex, incl1 to
// incl4, in this order, each ended by a backslash and one more byte, a doubled backslash standing
// for one), then its choice of directory, compiler and include taken from the input's last bytes.
//
// What a save and a load keep: a free-text value comes back exactly when it holds no CR (which
// would end its line), no "=" (loading ends a value at the next "="), no byte 26 (which ends the
// file) and no space at its end (loading trims the line). Leading spaces, tabs, LF and every
// other byte survive. `directory`, `compiler` and `include` come back when they hold one of
// their allowed values ("relative"/"specific", "pbwin"/"pbcc", "1" to "4").
//
// Properties: such a record comes back exactly, with its derived fields; a value with "=" or
// trailing spaces (but no CR or byte 26) comes back cut at its first "=" after losing its
// trailing spaces, and disturbs no other field; the file always has the twelve keys in order.
// With CR or byte 26 in values, loading still gives a sound record.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_settings.h"
#include "core/text.h"

namespace {

// What loading gives back for a value without CR or byte 26 that a save wrote.
std::string AfterRoundTrip(const std::string& value) {
    std::string kept = TrimTrailingSpaces(value);
    return kept.substr(0, kept.find('='));
}

SettingsRecord Reloaded(const SettingsRecord& record) {
    SettingsRecord reloaded;
    fuzz::LoadSettingsBytes(reloaded, FormatSettingsFile(record));
    return reloaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    SettingsRecord raw;
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys)
        if (key.freeText) raw.*key.field = input.ConsumeRandomLengthString(512);
    raw.directory = input.ConsumeBool() ? "relative" : "specific";
    raw.compiler = input.ConsumeBool() ? "pbwin" : "pbcc";
    raw.include = std::to_string(input.ConsumeIntegralInRange(1, 4));

    // Values that keep the rule come back exactly, and so do the derived fields.
    SettingsRecord clean = raw;
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys)
        if (key.freeText) clean.*key.field = TrimTrailingSpaces(fuzz::Without(clean.*key.field, "\r=\x1a"));
    std::string file = FormatSettingsFile(clean);
    std::vector<std::string> lines = SplitLines(file);
    FUZZ_REQUIRE(lines.size() == 12, file);
    FUZZ_REQUIRE(fuzz::EndsWithText(file, "\r\n"), file);
    for (size_t i = 0; i < lines.size(); ++i) {
        const fuzz::SettingsKey& key = fuzz::kSettingsKeys[i];
        FUZZ_REQUIRE(lines[i] == std::string(key.name) + "=" + clean.*key.field, lines[i]);
    }
    SettingsRecord back = Reloaded(clean);
    fuzz::RequireSamePersistedFields(clean, back);
    FUZZ_REQUIRE(back.activeCompilerPath == (clean.compiler == "pbwin" ? clean.pbwin : clean.pbcc),
                 back.activeCompilerPath);
    FUZZ_REQUIRE(back.activeIncludeDir == *fuzz::IncludeDirFor(clean), back.activeIncludeDir);

    // A value with "=" or trailing spaces loses exactly those; the other fields are untouched.
    SettingsRecord lossy = raw;
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys)
        if (key.freeText) lossy.*key.field = fuzz::Without(lossy.*key.field, "\r\x1a");
    SettingsRecord expected = lossy;
    for (const fuzz::SettingsKey& key : fuzz::kSettingsKeys)
        if (key.freeText) expected.*key.field = AfterRoundTrip(lossy.*key.field);
    fuzz::RequireSamePersistedFields(expected, Reloaded(lossy));

    // Anything at all in the values: the record loaded from the file is still sound.
    fuzz::RequireLoadedRecordIsSound(Reloaded(raw), "");
    return 0;
}
