#include "workflow/drop.h"

#include <optional>
#include <string>
#include <vector>

#include "workflow/settings_file.h"
#include "platform/files.h"
#include "workflow/feedback.h"
#include "core/test_file.h"

namespace {

// The first dropped name, whole whatever its length: a cut name would create or select
// another file than the one dropped.
std::wstring FirstDroppedName(HDROP drop) {
    UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) return {};
    std::vector<wchar_t> buffer(length + 1);
    UINT copied = DragQueryFileW(drop, 0, buffer.data(), length + 1);
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
// and stays as it is.
void SelectTestFileForSource(const std::string& sourcePath) {
    std::string text = NewTestFileText(sourcePath, Settings);
    Settings.active = TestFilePathFor(sourcePath);
    // Created only where no file of that name exists, which the create itself decides: a test
    // file that a look at the folder would not see (a folder the user may not list, a file made
    // in between) keeps every byte.
    WriteNewFile(Settings.active, text);
}

}  // namespace

bool SelectTestFileByName(const std::wstring& name) {
    DroppedKind kind = ClassifyDroppedName(name);
    // A path the settings file cannot hold whole goes by its short form; one that has none is
    // refused like a file of another type, rather than kept as a row of "?".
    std::optional<std::string> path = kind == DroppedKind::Other ? std::nullopt : HoldablePath(name);
    if (!path) {
        DefaultBeep();
        return false;
    }
    if (kind == DroppedKind::Source) SelectTestFileForSource(*path);
    else Settings.active = *path;
    SaveSettings();
    return true;
}

bool HandleDrop(HDROP drop) {
    std::wstring name = FirstDroppedName(drop);
    DragFinish(drop);
    return SelectTestFileByName(name);
}
