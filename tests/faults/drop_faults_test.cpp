// Drops whose test file cannot be written, whose settings cannot be saved, and whose names are
// outside the ANSI code page or 2,000 characters long, delivered as WM_DROPFILES to a real window.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings.h"
#include "fault_support.h"
#include "platform/ansi.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow_support.h"

namespace {

class DropFaults : public ::testing::Test {
protected:
    void SetUp() override {
        Settings = SettingsRecord{};
        Settings.directory = "relative";
        Settings.quarex = "C:\\q\\quarex.exe";
        window.SetLabelText("before");
        DeleteFileW(ToWide(OwnSettingsFile()).c_str());
    }
    void TearDown() override { DeleteFileW(ToWide(OwnSettingsFile()).c_str()); }

    // The dropped path became current: in the record, in the label and in the saved file.
    void ExpectCurrentAndSaved(const std::string& testFile) {
        EXPECT_EQ(Settings.active, testFile);
        EXPECT_EQ(window.LabelText(), testFile);
        EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(Settings));
        EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});
    }

    TempDir temp;
    TestMainWindow window{false};
    FeedbackRecorder feedback;
};

// The names in a folder, to see what a drop created there.
std::vector<std::string> FolderContents(const TempDir& folder) {
    std::vector<std::string> names;
    for (const std::string& name : NamesMatching(folder.Path() + "*"))
        if (name != "." && name != "..") names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST_F(DropFaults, TestFileHeldByAnotherProcessIsSelectedAndLeftAlone) {
    std::string source = temp / "util.bas";
    std::string testFile = temp / "util.test";
    WriteBytes(source, "' code\r\n");
    WriteBytes(testFile, "[quarex]\r\nsource=D:\\elsewhere\\util.bas\r\n");
    HeldByAnotherProcess holder(testFile);
    ASSERT_TRUE(holder.Held());

    // A held file is still there to be found (its folder entry is), so the drop takes it for the
    // user's own test file: nothing is created or written, and it becomes current all the same.
    DeliverDrop(window.Get(), {source});
    ExpectCurrentAndSaved(testFile);
    EXPECT_TRUE(feedback.Events().empty());

    holder.Release();
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=D:\\elsewhere\\util.bas\r\n");
}

TEST_F(DropFaults, TestFileThatCannotBeCreatedIsStillMadeCurrent) {
    // A folder of the test file's name: it is no file, so the drop creates one, and that fails.
    std::string source = temp / "util.bas";
    std::string testFile = temp / "util.test";
    ASSERT_TRUE(CreateDirectoryW(ToWide(testFile).c_str(), nullptr));
    Settings.directory = "specific";
    Settings.output = "E:\\gen";

    DeliverDrop(window.Get(), {source});
    EXPECT_TRUE(IsDirectory(testFile));
    EXPECT_EQ(Settings.output, "E:\\gen\\");
    ExpectCurrentAndSaved(testFile);
    EXPECT_TRUE(feedback.Events().empty());
}

TEST_F(DropFaults, SettingsHeldDuringTheDropKeepTheirOldBytesAndTheNewTestFileStaysCurrent) {
    WriteBytes(OwnSettingsFile(), "active=D:\\old.test\r\n");
    std::string source = temp / "util.bas";
    std::string testFile = temp / "util.test";
    {
        HeldByAnotherProcess holder(OwnSettingsFile());
        ASSERT_TRUE(holder.Held());
        DeliverDrop(window.Get(), {source});
    }
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\n");
    EXPECT_EQ(Settings.active, testFile);
    EXPECT_EQ(window.LabelText(), testFile);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), "active=D:\\old.test\r\n");
    EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});
    EXPECT_TRUE(feedback.Events().empty());
}

TEST_F(DropFaults, NamesOutsideTheCodePageCarryItsDefaultCharacter) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected names below are those of code page 1252";
    std::wstring folder = ToWide(temp.Path());

    // A CJK name: each character becomes "?", which no file name may hold. The test file
    // cannot be written, and the "?" path becomes current, as the label shows.
    std::wstring cjk = folder + L"\u4E2D\u6587.bas";
    HANDLE file = CreateFileW(cjk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    DeliverWideDrop(window.Get(), {cjk});
    ExpectCurrentAndSaved(temp / "??.test");
    EXPECT_EQ(FolderContents(temp), std::vector<std::string>{"??.bas"});  // the source's own name, as ANSI

    // A Latin letter the code page lacks is no look-alike either: "a" with macron must not
    // select the test file of ab.bas, a different source.
    WriteBytes(temp / "ab.bas", "' another source\r\n");
    WriteBytes(temp / "ab.test", "[quarex]\r\nsource=" + (temp / "ab.bas") + "\r\n");
    DeliverWideDrop(window.Get(), {folder + L"\u0101b.bas"});
    ExpectCurrentAndSaved(temp / "?b.test");
    EXPECT_EQ(ReadBytes(temp / "ab.test"), "[quarex]\r\nsource=" + (temp / "ab.bas") + "\r\n");

    // A test file with such a name is selected under its "?" name, unread.
    DeliverWideDrop(window.Get(), {folder + L"\u4E2D.test"});
    ExpectCurrentAndSaved(temp / "?.test");

    EXPECT_EQ(FolderContents(temp), (std::vector<std::string>{"??.bas", "ab.bas", "ab.test"}));
    EXPECT_TRUE(feedback.Events().empty());
}

namespace {

// Folders one inside the other below `base`, the deepest of which, with its "\", is `length`
// characters long: names of 100 characters, the last one of what is left.
std::vector<std::string> DeepFolders(const std::string& base, size_t length) {
    std::vector<std::string> folders;
    std::string path = base;
    while (path.size() < length) {
        size_t left = length - path.size();
        size_t step = left > 202 ? 101 : left;  // a name and its "\"
        path += std::string(step - 1, static_cast<char>('a' + folders.size() % 26)) + "\\";
        folders.push_back(path);
    }
    return folders;
}

// The path with the "\\?\" prefix, which lifts the 260-character limit.
std::wstring Unlimited(const std::string& path) { return L"\\\\?\\" + ToWide(path); }

}  // namespace

TEST_F(DropFaults, PathOfTwoThousandCharactersIsKeptWhole) {
    std::vector<std::string> folders = DeepFolders(temp.Path(), 2000 - 8);
    for (const std::string& folder : folders) ASSERT_TRUE(CreateDirectoryW(Unlimited(folder).c_str(), nullptr));
    std::string deep = folders.back();
    std::string source = deep + "util.bas";
    ASSERT_EQ(source.size(), 2000u);
    WriteBytes("\\\\?\\" + source, "' code\r\n");

    std::string testFile = deep + "util.test";
    DeliverDrop(window.Get(), {source});
    ExpectCurrentAndSaved(testFile);
    EXPECT_EQ(Settings.active.size(), 2001u);

    // Windows refuses a path over MAX_PATH (260) to a program that has not declared itself
    // long-path aware, whatever the system setting, so there no test file is written and the
    // path becomes current all the same. Wine has no such limit and writes the file, whole.
    std::string written = ReadBytes("\\\\?\\" + testFile);
    if (RunningUnderWine()) EXPECT_EQ(written, "[quarex]\r\nsource=" + source + "\r\n");
    else EXPECT_FALSE(PathExists("\\\\?\\" + testFile));

    // A test file of that length is selected whole too.
    std::string other = deep + "other.TEST";
    DeliverDrop(window.Get(), {other});
    ExpectCurrentAndSaved(other);

    // The folder tree goes with the "\\?\" prefix, deepest first.
    DeleteFileW(Unlimited(testFile).c_str());
    DeleteFileW(Unlimited(source).c_str());
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
        RemoveDirectoryW(Unlimited(*folder).c_str());
}
