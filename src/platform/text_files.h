#pragma once
// Text files: opening, reading by lines, writing, and reading or writing a whole file at once.
// Paths are ANSI texts, converted to UTF-16 at each call, or UTF-16 from end to end. None of them
// reports failure: a failed open gives a file that reads as empty and swallows writes, as the
// callers expect.
#include <string>
#include <string_view>

#include "core/line_reader.h"
#include "platform/handles.h"

// An open text file, owned by the one step that opened it. Move-only; closed on destruction
// if the caller has not closed it.
struct TextFile {
    UniqueHandle handle;  // none when the open failed or after closing
    bool writing = false;
    LineReader reader;

    TextFile() = default;
    TextFile(TextFile&& other) noexcept = default;
    TextFile& operator=(TextFile&& other) noexcept;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile();
};

// The attributes of an entry that is no file: a folder, or the volume label that old file
// systems list among a folder's entries.
constexpr DWORD kVolumeLabelAttribute = 0x08;  // _A_VOLID of dos.h; winnt.h names it not
constexpr DWORD kNotAFileAttributes = FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute;

// True only for an existing file that is not a directory; false for "", wildcards and "X:".
bool FileExists(std::string_view path);
// The same for a path held in UTF-16 from end to end (the settings file's own).
bool FileExists(const std::wstring& path);

TextFile OpenTextForReading(std::string_view path);
TextFile OpenTextForReading(const std::wstring& path);
bool AtEndOfFile(TextFile& file);
// The next line into `line`, whose storage is reused from line to line.
void ReadLine(TextFile& file, std::string& line);

// Creates the file or empties an existing one.
TextFile CreateTextFile(std::string_view path);
TextFile CreateTextFile(const std::wstring& path);
void WriteText(TextFile& file, std::string_view text);
void CloseFile(TextFile& file);

// Makes the file hold `text` exactly, in place: writes it over the old bytes from the start
// (creating a missing file), cuts the file after it and flushes it. A write that fails part-way
// puts the old bytes back and the old end, so the file holds all of the old text or all of the
// new. A file that cannot be opened (held by another program, no right to write) keeps what it held.
void WriteWholeFile(std::string_view path, std::string_view text);
void WriteWholeFile(const std::wstring& path, std::string_view text);
// Writes a new file with `text`, only where no file of that name exists: an existing one,
// even one that a look at the folder did not show, keeps every byte.
void WriteNewFile(std::string_view path, std::string_view text);
void WriteNewFile(const std::wstring& path, std::string_view text);

// What reading a whole file does where there is no file of that name.
enum class WhenMissing {
    CreateEmpty,  // creates it empty, as the compiler's log always has been
    ReadNothing,  // leaves the folder as it is
};
// The whole file's bytes; "" for a missing or unopenable one. A file another program holds for
// a moment is tried again for about a second.
std::string ReadWholeFile(std::string_view path, WhenMissing missing);

