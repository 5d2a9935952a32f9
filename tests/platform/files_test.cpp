// File and directory operations on real files.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/text_files.h"
#include "test_support.h"

namespace {

std::vector<std::string> ReadAllLines(std::string_view path) {
    std::vector<std::string> lines;
    TextFile file = OpenTextForReading(path);
    std::string line;
    while (!AtEndOfFile(file)) {
        ReadLine(file, line);
        lines.push_back(line);
    }
    CloseFile(file);
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextFiles, LineRulesOnRealFiles) {
    TempDir dir;
    std::string path = dir / "lines.txt";
    WriteBytes(path, "a\r\nb\r\n");
    EXPECT_EQ(ReadAllLines(path), (Lines{"a", "b"}));
    WriteBytes(path, "a\rb");
    EXPECT_EQ(ReadAllLines(path), (Lines{"a", "b"}));
    WriteBytes(path, "a\nb\r\n");
    EXPECT_EQ(ReadAllLines(path), (Lines{"a\nb"}));
    WriteBytes(path, "a\r\n\r\nb");
    EXPECT_EQ(ReadAllLines(path), (Lines{"a", "", "b"}));
    WriteBytes(path, std::string("a\x1a" "b", 3));
    EXPECT_EQ(ReadAllLines(path), (Lines{"a"}));

    // Longer than any read buffer, with the CR LF split wherever the chunks fall.
    std::string longLine(300000, 'q');
    WriteBytes(path, longLine + "\r\n" + longLine);
    EXPECT_EQ(ReadAllLines(path), (Lines{longLine, longLine}));
}

TEST(TextFiles, ReadingIntoOneReusedStringGivesTheSameLines) {
    TempDir dir;
    std::string path = dir / "reuse.txt";
    // A long line before short and empty ones: nothing of an earlier line may stay behind.
    std::string longLine(200000, 'x');
    WriteBytes(path, longLine + "\r\nab\r\n\r\nc\rd\ne\r\n" + longLine);
    Lines reused;
    TextFile file = OpenTextForReading(path);
    std::string line = "left over";
    while (!AtEndOfFile(file)) {
        ReadLine(file, line);
        reused.push_back(line);
    }
    ReadLine(file, line);  // past the end: the empty text, as the other form gives
    EXPECT_EQ(line, "");
    CloseFile(file);
    EXPECT_EQ(reused, (Lines{longLine, "ab", "", "c", "d\ne", longLine}));
    EXPECT_EQ(reused, ReadAllLines(path));
}

TEST(TextFiles, MissingOrHeldFileReadsAsEmpty) {
    TempDir dir;
    EXPECT_EQ(ReadAllLines(dir / "missing.txt"), Lines{});

    std::string path = dir / "held.txt";
    WriteBytes(path, "a\r\n");
    ExclusiveHold hold(path);
    ASSERT_TRUE(hold.Held());
    TextFile file = OpenTextForReading(path);
    EXPECT_TRUE(AtEndOfFile(file));
    std::string line = "x";
    ReadLine(file, line);
    EXPECT_EQ(line, "");
    CloseFile(file);
}

TEST(TextFiles, OpenFileIsNotShared) {
    TempDir dir;
    std::string path = dir / "mine.txt";
    WriteBytes(path, "a\r\n");
    TextFile file = OpenTextForReading(path);
    HANDLE other = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseFile(file);
    CloseFile(file);  // closing twice is harmless

    TextFile writer = CreateTextFile(path);
    other = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    CloseFile(writer);
}

TEST(TextFiles, CreateEmptiesAndWritesExactBytes) {
    TempDir dir;
    std::string path = dir / "out.txt";
    WriteBytes(path, "a much longer old content that must not survive\r\n");
    TextFile file = CreateTextFile(path);
    WriteText(file, "key=");
    WriteText(file, "value");
    WriteText(file, "\r\n");
    WriteText(file, "");
    CloseFile(file);
    EXPECT_EQ(ReadBytes(path), "key=value\r\n");

    // A file created and closed without writing is empty.
    TextFile empty = CreateTextFile(path);
    CloseFile(empty);
    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(TextFiles, FailedCreateWritesNothingAndKeepsTheOldContent) {
    TempDir dir;
    std::string path = dir / "kept.txt";
    WriteBytes(path, "old\r\n");
    {
        ExclusiveHold hold(path);
        TextFile file = CreateTextFile(path);
        WriteText(file, "new");
        WriteText(file, "\r\n");
        CloseFile(file);
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");

    TextFile nowhere = CreateTextFile(dir / "no such folder\\x.txt");
    WriteText(nowhere, "x");
    CloseFile(nowhere);
    EXPECT_FALSE(PathExists(dir / "no such folder"));
}

// A new file is only ever new: a file of that name that is there already keeps every byte, even
// where a look at the folder did not show it.
TEST(TextFiles, NewFileNeverReplacesAnExistingOne) {
    TempDir dir;
    std::string path = dir / "util.test";
    WriteNewFile(path, "[quarex]\r\n");
    EXPECT_EQ(ReadBytes(path), "[quarex]\r\n");
    WriteBytes(path, "the user's own test file\r\n");
    WriteNewFile(path, "[quarex]\r\nsource=x\r\n");
    EXPECT_EQ(ReadBytes(path), "the user's own test file\r\n");
}

TEST(TextFiles, DestructionClosesAFileLeftOpen) {
    TempDir dir;
    std::string path = dir / "scoped.txt";
    {
        TextFile file = CreateTextFile(path);
        WriteText(file, "abc");
        TextFile moved = std::move(file);
        WriteText(file, "lost");  // the moved-from file is closed: writes go nowhere
        WriteText(moved, "def");
    }
    EXPECT_EQ(ReadBytes(path), "abcdef");
}

TEST(ReadWholeFile, ReadsEveryByteAndCreatesAMissingFile) {
    TempDir dir;
    std::string bytes("log\r\n\x1a\0tail", 11);
    WriteBytes(dir / "a.log", bytes);
    EXPECT_EQ(ReadWholeFile(dir / "a.log", WhenMissing::ReadNothing), bytes);

    EXPECT_EQ(ReadWholeFile(dir / "other.log", WhenMissing::ReadNothing), "");
    EXPECT_FALSE(PathExists(dir / "other.log"));
    EXPECT_EQ(ReadWholeFile(dir / "missing.log", WhenMissing::CreateEmpty), "");
    EXPECT_TRUE(PathExists(dir / "missing.log"));
    EXPECT_EQ(ReadBytes(dir / "missing.log"), "");
}

TEST(ReadWholeFile, HeldOrUnreachableFileGivesEmptyText) {
    TempDir dir;
    WriteBytes(dir / "held.log", "secret");
    ExclusiveHold hold(dir / "held.log");
    EXPECT_EQ(ReadWholeFile(dir / "held.log", WhenMissing::CreateEmpty), "");
    EXPECT_EQ(ReadWholeFile(dir / "no such folder\\x.log", WhenMissing::CreateEmpty), "");
    EXPECT_EQ(ReadWholeFile(dir.Path(), WhenMissing::CreateEmpty), "");
}

TEST(FileExists, OnlyExistingFilesThatAreNotDirectories) {
    TempDir dir;
    WriteBytes(dir / "file.txt", "x");
    CreateDirectoryW(ToWide(dir / "sub").c_str(), nullptr);
    EXPECT_TRUE(FileExists(dir / "file.txt"));
    EXPECT_FALSE(FileExists(dir / "sub"));
    EXPECT_FALSE(FileExists(dir / "sub\\"));
    EXPECT_FALSE(FileExists(dir / "file.txt\\"));
    EXPECT_FALSE(FileExists(dir / "missing.txt"));
    EXPECT_FALSE(FileExists(dir / "*.txt"));
    EXPECT_FALSE(FileExists(dir / "file.tx?"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("C:"));
    EXPECT_FALSE(FileExists("C:\\"));
}

TEST(FileExists, CharacterOutsideTheCodePageIsNotFound) {
    TempDir dir;
    // A file whose name holds a CJK character exists, but its ANSI name carries "?" instead,
    // so the tool can neither find nor open it.
    std::wstring wide = ToWide(dir.Path()) + L"\u4E2D.bas";
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    std::string ansi = ToAnsi(wide);
    EXPECT_NE(ansi.find('?'), std::string::npos);
    EXPECT_FALSE(FileExists(ansi));
    TextFile read = OpenTextForReading(ansi);
    EXPECT_TRUE(AtEndOfFile(read));
}

// Paths handed to the system take the "\\?\" form once their full form is too long for the plain
// one, which Windows refuses (Wine takes either, so the form is what is checked); the full form
// is the system's own, with "." and ".." resolved, as "\\?\" takes every character literally.
TEST(SystemPath, LongPathsGoInTheExtendedForm) {
    TempDir dir;
    const std::wstring base = ToWide(dir.Path());
    const std::wstring deepFolder = base + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e');
    const std::wstring deep = deepFolder + L"\\util.test";
    EXPECT_EQ(SystemPath(deep), L"\\\\?\\" + deep);
    const std::wstring dotted =
        base + L"sub\\..\\" + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\.\\util.test";
    EXPECT_EQ(SystemPath(dotted), L"\\\\?\\" + deep);
    const std::wstring plain = base + L"util.test";
    EXPECT_EQ(SystemPath(plain), plain);
    EXPECT_EQ(SystemPath(L"\\\\?\\" + deep), L"\\\\?\\" + deep);
    EXPECT_EQ(SystemPath(L""), L"");

    // A relative path is as long as the full path the system makes of it.
    std::string before = GetCurrentDir();
    SetCurrentDir(dir.Path());
    const std::wstring relative = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'r') + L".log";
    EXPECT_EQ(SystemPath(relative), L"\\\\?\\" + base + relative);
    EXPECT_EQ(SystemPath(L"util_test.log"), L"util_test.log");
    SetCurrentDir(before);

    // Files made and read through such paths are the files of that name.
    std::wstring outer = L"\\\\?\\" + base + std::wstring(150, L'd'), folder = L"\\\\?\\" + deepFolder;
    ASSERT_TRUE(CreateDirectoryW(outer.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteWholeFile(deep, "[quarex]\r\n");
    EXPECT_TRUE(FileExists(deep));
    EXPECT_EQ(ReadBytes(ToAnsi(L"\\\\?\\" + deep)), "[quarex]\r\n");
    DeleteFileW((L"\\\\?\\" + deep).c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(outer.c_str());
}

TEST(CurrentDirectory, SetAndGet) {
    TempDir dir;
    std::string before = GetCurrentDir();
    std::string target = dir / "work";
    CreateDirectoryW(ToWide(target).c_str(), nullptr);

    SetCurrentDir(target + "\\");
    EXPECT_EQ(GetCurrentDir(), target);

    // Refused paths leave the current directory as it was.
    SetCurrentDir(dir / "missing");
    EXPECT_EQ(GetCurrentDir(), target);
    SetCurrentDir("");
    EXPECT_EQ(GetCurrentDir(), target);
    SetCurrentDir(dir / "w*");
    EXPECT_EQ(GetCurrentDir(), target);

    SetCurrentDir(before);
    EXPECT_EQ(GetCurrentDir(), before);
}

TEST(CurrentDirectory, LongPathIsNeverCutShort) {
    TempDir dir;
    // Two sibling folders whose names differ only after the 255th character of the full path:
    // a path cut at 255 units would land in the shorter one.
    std::string base = dir.Path();
    ASSERT_LT(base.size(), 200u);
    std::string shorter = base + std::string(255 - base.size(), 'd');
    std::string longer = shorter + "ee";
    ASSERT_EQ(shorter.size(), 255u);
    ASSERT_TRUE(CreateDirectoryW(ToWide(shorter).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(ToWide(longer).c_str(), nullptr));

    std::string before = GetCurrentDir();
    SetCurrentDir(longer);
    EXPECT_EQ(GetCurrentDir(), longer);
    SetCurrentDir(before);
}

TEST(CurrentDirectory, DriveChangesOnlyWhenItIsAnotherDrive) {
    TempDir dir;
    std::string before = GetCurrentDir();
    std::string target = dir / "stay";
    CreateDirectoryW(ToWide(target).c_str(), nullptr);
    SetCurrentDir(target);

    // Same drive: nothing changes.
    SetCurrentDrive(target.substr(0, 1) + ":\\elsewhere\\x");
    EXPECT_EQ(GetCurrentDir(), target);
    SetCurrentDrive("");
    EXPECT_EQ(GetCurrentDir(), target);

    // Another drive: the current directory moves onto it. Z: is the root file system under Wine;
    // on Windows any other existing drive behaves alike.
    char other = (target[0] == 'Z' || target[0] == 'z') ? 'C' : 'Z';
    SetCurrentDrive(std::string(1, other) + ":\\whatever");
    EXPECT_EQ(toupper(static_cast<unsigned char>(GetCurrentDir()[0])), other);

    SetCurrentDir(before);
}

TEST(ExecutablePath, IsTheRunningExecutable) {
    std::string path = ToAnsi(ExecutablePathWide());
    EXPECT_EQ(path, ExecutableFolder() + "platform_tests.exe");
}
