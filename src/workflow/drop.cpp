#include "workflow/drop.h"

#include <optional>
#include <string>
#include <vector>

#include "core/test_file.h"
#include "core/text.h"
#include "core/report_texts.h"
#include "platform/paths.h"
#include "platform/text_files.h"
#include "workflow/settings_file.h"

namespace {

// The first dropped name, whole whatever its length: a cut name would create or select
// another file than the one dropped. The drop is finished when its owner goes.
std::wstring FirstDroppedName(UniqueDrop drop) {
    UINT length = DragQueryFileW(drop.Get(), 0, nullptr, 0);
    if (length == 0) return {};
    std::vector<wchar_t> buffer(length + 1);
    UINT copied = DragQueryFileW(drop.Get(), 0, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied);
}

enum class DroppedKind { Source, TestFile, Other };

// Only the end of the whole path counts, compared after the system's lower-casing.
DroppedKind ClassifyDroppedName(std::wstring name) {
    if (!name.empty()) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    auto endsWith = [&name](std::wstring_view tail) {
        return name.size() >= tail.size() && std::wstring_view(name).substr(name.size() - tail.size()) == tail;
    };
    if (endsWith(L".bas") || endsWith(L".inc") || endsWith(L".bi")) return DroppedKind::Source;
    if (endsWith(L".test")) return DroppedKind::TestFile;
    return DroppedKind::Other;
}

// A source file gets its test file beside it, unless one exists: that file belongs to the user
// and stays as it is. `heldSource` is the source as the settings hold it (its short form where
// they cannot hold it whole).
void SelectTestFileForSource(const std::wstring& source, const std::string& heldSource, SettingsRecord& record) {
    EndOutputFolderWithBackslash(record);
    std::string text = NewTestFileText(heldSource, record);
    // Named after the source's own name: a test file named after a short form ("_MEGA~1.test")
    // would keep that name for good.
    std::wstring testFile = TestFilePathFor(source);
    // Created only where no file of that name exists, which the create itself decides: a test
    // file that a look at the folder would not see (a folder the user may not list, a file made
    // in between) keeps every byte.
    WriteNewFile(testFile, text);
    // Kept in the source's folder as the settings hold it, under its own name where they can
    // hold that (the framework tool sees "util.test", not "UTIL~1.TES"), else by the short form
    // of the file just made; a test file that could not be made has none, and goes by the name
    // beside the source's short form.
    if (std::optional<std::string> name = HeldWhole(testFile.substr(testFile.rfind(L'\\') + 1)))
        record.active = SplitPath(heldSource).directory + *name;
    else
        record.active = HoldablePath(testFile).value_or(TestFilePathFor(heldSource));
}

}  // namespace

bool SelectTestFileByName(const std::wstring& name, SettingsRecord& record, FeedbackSink& feedback) {
    DroppedKind kind = ClassifyDroppedName(name);
    if (kind == DroppedKind::Other) {
        feedback.Beep();
        return false;
    }
    // A path the settings file cannot hold whole goes by its short form; one that has none (a
    // volume that keeps no short names) is refused with the reason, rather than kept as a row
    // of "?" or answered with the beep that means a file of another type.
    std::optional<std::string> path = HoldablePath(name);
    if (!path) {
        feedback.Report(UnusablePathReport(name));
        return false;
    }
    if (kind == DroppedKind::Source) SelectTestFileForSource(name, *path, record);
    else record.active = *path;
    // The new name shows at once; a slow save does not keep the old one on screen meanwhile.
    feedback.ShowCurrentTestFile(record.active);
    SaveSettings(record);
    return true;
}

bool HandleDrop(HDROP drop, SettingsRecord& record, FeedbackSink& feedback) {
    std::wstring name = FirstDroppedName(UniqueDrop(drop));  // the drop is finished here
    return SelectTestFileByName(name, record, feedback);
}
