// Drops whose test file cannot be written, whose settings cannot be saved, and whose names are
// outside the ANSI code page or 2,000 characters long, delivered as WM_DROPFILES to a real window.
#include <gtest/gtest.h>

#include "workflow/settings_file.h"
#include "platform/text_files.h"
#include "core/test_file.h"
#include "fault_support.h"
#include "platform/ansi.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow_support.h"

namespace {

class DropFaults : public ::testing::Test {
protected:
    void SetUp() override {
        TestSettings = SettingsRecord{};
        TestSettings.directory = "relative";
        TestSettings.quarex = "C:\\q\\quarex.exe";
        window.SetLabelText("before");
        DeleteFileW(ToWide(OwnSettingsFile()).c_str());
    }
    void TearDown() override { DeleteFileW(ToWide(OwnSettingsFile()).c_str()); }

    // The dropped path became current: in the record, in the label and in the saved file.
    void ExpectCurrentAndSaved(const std::string& testFile) {
        EXPECT_EQ(TestSettings.active, testFile);
        EXPECT_EQ(window.LabelText(), testFile);
        EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(TestSettings));
        EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});
    }

    TempDir temp;
    TestMainWindow window{false};
    FeedbackRecorder feedback;
};

// The whole long form of an existing path, as the system has it.
std::wstring LongPathOf(const std::string& path) {
    std::wstring wide = ToWide(path);
    std::wstring whole(32768, L'\0');
    DWORD length = GetLongPathNameW(wide.c_str(), whole.data(), static_cast<DWORD>(whole.size()));
    whole.resize(length < whole.size() ? length : 0);
    return whole;
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
    TestSettings.directory = "specific";
    TestSettings.output = "E:\\gen";

    DeliverDrop(window.Get(), {source});
    EXPECT_TRUE(IsDirectory(testFile));
    EXPECT_EQ(TestSettings.output, "E:\\gen\\");
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
    EXPECT_EQ(TestSettings.active, testFile);
    EXPECT_EQ(window.LabelText(), testFile);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), "active=D:\\old.test\r\n");
    EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});
    EXPECT_TRUE(feedback.Events().empty());
}

// A name the settings file cannot hold whole (a character code page 1252 lacks, or a "=", which
// ends a settings value) goes by its short form: the test file, its "source=" line, the label
// and the saved current test file all name the real files, and reading the settings back gives
// the same test file. A name without a short form is refused with a beep.
TEST_F(DropFaults, NamesTheSettingsCannotHoldGoByTheirShortForm) {
    ASSERT_EQ(GetACP(), 1252u) << "the names below are outside code page 1252";
    std::wstring base = ToWide(temp.Path());
    for (const wchar_t* folderName : {L"\u03A9mega", L"\u4E2D\u6587", L"x=y"}) {
        SCOPED_TRACE(ToAnsi(folderName));
        std::wstring folder = base + folderName + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        std::wstring source = folder + L"util.bas";
        HANDLE file = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);

        DeliverWideDrop(window.Get(), {source});
        EXPECT_EQ(TestSettings.active.find_first_of("?="), std::string::npos) << TestSettings.active;
        ExpectCurrentAndSaved(TestSettings.active);
        // The new test file is the folder's util.test, and its source line names util.bas there.
        std::wstring testFile = folder + L"util.test";
        std::string written = ReadBytes(TestSettings.active);
        ASSERT_EQ(written.rfind("[quarex]\r\nsource=", 0), 0u) << written;
        std::string shortSource = written.substr(17, written.size() - 19);
        EXPECT_EQ(shortSource.find_first_of("?="), std::string::npos) << shortSource;
        EXPECT_TRUE(FileExists(shortSource)) << shortSource;
        EXPECT_EQ(TestFilePathFor(shortSource), TestSettings.active);
        EXPECT_NE(GetFileAttributesW(testFile.c_str()), INVALID_FILE_ATTRIBUTES) << "no util.test in the folder";

        // After a restart the same test file is current.
        std::string saved = TestSettings.active;
        TestSettings = SettingsRecord{};
        LoadSettings(TestSettings);
        EXPECT_EQ(TestSettings.active, saved);

        // A test file from there is selected by its short form too.
        std::wstring other = folder + L"other.test";
        file = CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        DeliverWideDrop(window.Get(), {other});
        EXPECT_EQ(TestSettings.active.find_first_of("?="), std::string::npos) << TestSettings.active;
        EXPECT_TRUE(FileExists(TestSettings.active)) << TestSettings.active;
        ExpectCurrentAndSaved(TestSettings.active);
    }
    EXPECT_EQ(feedback.Beeps(), 0);

    // A source whose own name the code page cannot spell: its test file is made under that
    // name, "\u03A9mega.test", not under its short form; the settings, the label and the test
    // file's source line hold the short forms of the real files.
    std::wstring omega = base + L"\u03A9mega.bas";
    HANDLE file = CreateFileW(omega.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    DeliverWideDrop(window.Get(), {omega});
    std::wstring omegaTest = base + L"\u03A9mega.test";
    EXPECT_NE(GetFileAttributesW(omegaTest.c_str()), INVALID_FILE_ATTRIBUTES) << "no \u03A9mega.test";
    EXPECT_EQ(NamesMatching(temp / "*.test"), std::vector<std::string>{ToAnsi(L"\u03A9mega.test")});
    EXPECT_EQ(TestSettings.active.find_first_of("?="), std::string::npos) << TestSettings.active;
    ExpectCurrentAndSaved(TestSettings.active);
    EXPECT_EQ(LongPathOf(TestSettings.active), omegaTest);
    std::string written = ReadBytes(TestSettings.active);
    ASSERT_EQ(written.rfind("[quarex]\r\nsource=", 0), 0u) << written;
    std::string shortOmega = written.substr(17, written.size() - 19);
    EXPECT_EQ(shortOmega.find_first_of("?="), std::string::npos) << shortOmega;
    EXPECT_EQ(LongPathOf(shortOmega), omega);

    // No short form (the name does not exist, as on a volume without 8.3 names nothing has one):
    // nothing is created or selected, and a message says why (a beep would say "another type").
    const std::string before = TestSettings.active;
    const std::string savedBefore = ReadBytes(OwnSettingsFile());
    DeliverWideDrop(window.Get(), {base + L"gone\u03A9.bas"});
    DeliverWideDrop(window.Get(), {base + L"gone=.test"});
    EXPECT_EQ(TestSettings.active, before);
    EXPECT_EQ(window.LabelText(), before);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), savedBefore);
    EXPECT_EQ(feedback.Beeps(), 0);
    ASSERT_EQ(feedback.Messages().size(), 2u);
    EXPECT_EQ(feedback.Messages()[1], "{" + temp.Path() + "gone=.test} cannot be used\r\nThe settings file keeps only "
                                      "paths written in the system's code page and without \"=\", and this path "
                                      "has no short (8.3) form that is.");
    EXPECT_EQ(feedback.Messages()[0].rfind("{" + temp.Path() + "gone", 0), 0u) << feedback.Messages()[0];
    EXPECT_FALSE(PathExists(temp / "gone.test"));
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
    EXPECT_EQ(TestSettings.active.size(), 2001u);

    // The test file is written, whole: the tool hands the system the "\\?\" form of a path this
    // long, which Windows takes at any length (Wine takes the plain one too).
    EXPECT_EQ(ReadBytes("\\\\?\\" + testFile), "[quarex]\r\nsource=" + source + "\r\n");

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
