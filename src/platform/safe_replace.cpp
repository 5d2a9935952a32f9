#include "platform/safe_replace.h"

#include <windows.h>

#include <vector>

#include "platform/handles.h"
#include "platform/paths.h"
#include "platform/text_files.h"

namespace {

// What a replace keeps of the file's attributes; writing it marks it for archiving.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_TEMPORARY;

// Gives the new file the old one's attributes and access rights, so that putting it in
// place changes nothing but the content. False when either cannot be carried over.
bool TakeOverProperties(const std::wstring& from, const std::wstring& to, DWORD attributes) {
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<unsigned char> security(needed);
    if (!GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, security.data(), needed, &needed) ||
        !SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, security.data()))
        return false;
    return SetFileAttributesW(to.c_str(), (attributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE) != 0;
}

// The number of names the file has; 1 where that cannot be read. Opened for its attributes only,
// which shares with every other opener and so disturbs no program that has the file open.
DWORD LinkCount(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &information)) return 1;
    return information.nNumberOfLinks;
}

}  // namespace

bool SavesInPlace(unsigned long attributes, unsigned long links) {
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ENCRYPTED | FILE_ATTRIBUTE_COMPRESSED;
    return (attributes & kNotPlain) != 0 || links > 1;
}

// The new file is written beside the old one and then put in its place in one step, so a
// process killed or a disk that fills half-way leaves the previous content whole. Where that
// step cannot be taken (no new file may be created in the folder, or none replaced), or would
// change what the file is (a link to a file elsewhere, a file with a second name, an encrypted
// or compressed file), the file is written in place instead, as a plain rewrite would.
void ReplaceFileSafely(const std::wstring& to, std::string_view text, unsigned long attributes) {
    // A rename would replace the link or this one name with a plain local file, and the real
    // file or its other names would keep the old content.
    QuietErrorMode quiet;  // for every call: a drive without a medium fails quietly
    std::wstring systemTo = SystemPath(to);
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && SavesInPlace(attributes, LinkCount(systemTo))) {
        WriteWholeFile(to, text);
        return;
    }

    // One name for every replace and every copy of the tool: a file left by a replace that was
    // cut short is reused by the next one, so at most one stays behind, and two copies saving at
    // the same moment cannot both hold it (it is opened without sharing).
    std::wstring from = to + L".tmp";
    std::wstring systemFrom = SystemPath(from);
    bool created = false, complete = false, flushed = false;
    {
        TextFile file = CreateTextFile(from);
        created = file.handle.Valid();
        if (created) {
            WriteText(file, text);
            complete = GetFileSize(file.handle.Get(), nullptr) == text.size();
            flushed = complete && FlushFileBuffers(file.handle.Get()) != 0;
        }
    }
    if (!created) {
        WriteWholeFile(to, text);  // the plain rewrite, in place; a held file is not opened
        return;
    }
    // A disk that fills up would fail the plain rewrite half-way too: keep the old file whole.
    if (!complete) {
        DeleteFileW(systemFrom.c_str());
        return;
    }

    bool replaced = false;
    // Some network redirectors refuse the flush while writes work: the plain rewrite works there.
    if (flushed && (!exists || TakeOverProperties(systemTo, systemFrom, attributes))) {
        // Another program that merely glances at the file (a virus scanner, an editor checking
        // for changes) holds it for a moment: try again briefly before giving the step up.
        for (int attempt = 0; !replaced && attempt < 5; ++attempt) {
            if (attempt > 0) Sleep(20);
            replaced = MoveFileExW(systemFrom.c_str(), systemTo.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            DWORD error = replaced ? 0 : GetLastError();
            if (!replaced && error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
        }
    }
    if (replaced) return;
    DeleteFileW(systemFrom.c_str());
    // Refused for another reason than a held file (which the plain rewrite cannot open either):
    // a folder where files may be written but not deleted or renamed, a file system without
    // renames over a file, rights that cannot be carried over, a refused flush.
    WriteWholeFile(to, text);
}
