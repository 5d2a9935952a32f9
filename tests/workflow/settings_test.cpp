// Loading and saving the real settings file beside the running executable.
#include <gtest/gtest.h>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "platform/safe_replace.h"
#include "core/text.h"
#include "start_process.h"
#include "test_support.h"

#include <sddl.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    FreshSettings fresh;
    const std::string path = fresh.Path();
};

const char* const kDefaultFile =
    "active=\r\ndirectory=relative\r\noutput=\r\ncompiler=pbwin\r\npbwin=\r\npbcc=\r\n"
    "quarex=\r\ninclude=1\r\nincl1=\r\nincl2=\r\nincl3=\r\nincl4=\r\n";

}  // namespace

TEST_F(SettingsFileTest, FileIsBesideTheExecutable) {
    EXPECT_EQ(path, ExecutableFolder() + "workflow_tests.ini");
}

TEST_F(SettingsFileTest, NoFileGivesTheThreeDefaultsAndCreatesNothing) {
    TestSettings.pbcc = "kept";
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.directory, "relative");
    EXPECT_EQ(TestSettings.compiler, "pbwin");
    EXPECT_EQ(TestSettings.include, "1");
    EXPECT_EQ(TestSettings.pbcc, "kept");
    EXPECT_EQ(TestSettings.activeCompilerPath, "");
    EXPECT_EQ(TestSettings.activeIncludeDir, "");
    EXPECT_FALSE(PathExists(path));

    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path),
              "active=\r\ndirectory=relative\r\noutput=\r\ncompiler=pbwin\r\npbwin=\r\npbcc=kept\r\n"
              "quarex=\r\ninclude=1\r\nincl1=\r\nincl2=\r\nincl3=\r\nincl4=\r\n");
}

// Only "file not found" and "path not found" mean there is no settings file. A program started
// through a "\\?\" path gets its own path in that form on Windows (Wine gives the plain one, so
// the form is given here), and its settings file is still found and read.
TEST_F(SettingsFileTest, OnlyNotFoundMeansNoSettingsFile) {
    const std::wstring wide = ToWide(path), extended = L"\\\\?\\" + wide;
    WriteBytes(path, "active=D:\\kept.test\r\npbwin=D:\\pb\\Pbwin.exe\r\n");
    EXPECT_EQ(SettingsFileStateOf(wide), SettingsFileState::Present);
    EXPECT_EQ(SettingsFileStateOf(extended), SettingsFileState::Present);
    LoadSettings(TestSettings, [](const std::wstring& own) { return SettingsFileStateOf(L"\\\\?\\" + own); });
    EXPECT_EQ(TestSettings.active, "D:\\kept.test");
    EXPECT_EQ(TestSettings.directory, "");  // no defaults over a file that is there

    DeleteFileW(wide.c_str());
    EXPECT_EQ(SettingsFileStateOf(extended), SettingsFileState::Missing);
    EXPECT_EQ(SettingsFileStateOf(wide + L"\\in no folder.ini"), SettingsFileState::Missing);
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    EXPECT_EQ(SettingsFileStateOf(extended), SettingsFileState::Missing);
    RemoveDirectoryW(wide.c_str());

    // Every other failure of the look (Wine fails it with "not found" only): a file that may be
    // there, not to be replaced by defaults.
    EXPECT_EQ(SettingsFileStateFor(INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND), SettingsFileState::Missing);
    EXPECT_EQ(SettingsFileStateFor(INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND), SettingsFileState::Missing);
    for (DWORD error : {ERROR_ACCESS_DENIED, ERROR_BAD_NETPATH, ERROR_NETNAME_DELETED, ERROR_UNEXP_NET_ERR,
                        ERROR_NOT_READY, ERROR_SHARING_VIOLATION, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE})
        EXPECT_EQ(SettingsFileStateFor(INVALID_FILE_ATTRIBUTES, error), SettingsFileState::Unreadable) << error;
    EXPECT_EQ(SettingsFileStateFor(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0), SettingsFileState::Present);
    EXPECT_EQ(SettingsFileStateFor(FILE_ATTRIBUTE_DIRECTORY, 0), SettingsFileState::Missing);
}

TEST_F(SettingsFileTest, SavedDefaultFileHasExactlyTwelveLines) {
    LoadSettings(TestSettings);
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
}

TEST_F(SettingsFileTest, DirectoryOfThatNameIsNoSettingsFile) {
    ASSERT_TRUE(CreateDirectoryW(ToWide(path).c_str(), nullptr));
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.directory, "relative");
    RemoveDirectoryW(ToWide(path).c_str());
}

TEST_F(SettingsFileTest, LoadsKeysAndDerivesTheActiveFields) {
    WriteBytes(path,
               "  active=D:\\t\\a.test  \r\nDirectory=RELATIVE\r\ncompiler=PBCC\r\npbwin=W\r\npbcc=C\r\n"
               "include= 3\r\nincl3=I3\r\nunknown=1\r\nactive =D:\\x\r\n");
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.active, "D:\\t\\a.test");
    EXPECT_EQ(TestSettings.directory, "relative");
    EXPECT_EQ(TestSettings.compiler, "pbcc");
    EXPECT_EQ(TestSettings.include, "3");
    EXPECT_EQ(TestSettings.activeCompilerPath, "C");
    EXPECT_EQ(TestSettings.activeIncludeDir, "I3");
}

TEST_F(SettingsFileTest, ExistingFileAppliesNoDefaults) {
    WriteBytes(path, "pbcc=C\r\n");
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.directory, "");
    EXPECT_EQ(TestSettings.compiler, "");
    EXPECT_EQ(TestSettings.include, "");
    EXPECT_EQ(TestSettings.activeCompilerPath, "C");
}

TEST_F(SettingsFileTest, HeldFileReadsNothingButTheFieldsAreStillDerived) {
    WriteBytes(path, "active=D:\\from-file.test\r\n");
    TestSettings.compiler = "pbwin";
    TestSettings.pbwin = "W";
    TestSettings.include = "2";
    TestSettings.incl2 = "I2";
    {
        ExclusiveHold hold(path);
        ASSERT_TRUE(hold.Held());
        LoadSettings(TestSettings);
    }
    EXPECT_EQ(TestSettings.active, "");
    EXPECT_EQ(TestSettings.directory, "");
    EXPECT_EQ(TestSettings.activeCompilerPath, "W");
    EXPECT_EQ(TestSettings.activeIncludeDir, "I2");

    // Freed later, the file the load could not read keeps what it holds for the rest of the
    // run: a save would write the record, which holds none of it, over every stored path.
    TestSettings.active = "D:\\dropped.test";
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path), "active=D:\\from-file.test\r\n");
    // A load that reads it ends that.
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.active, "D:\\from-file.test");
    TestSettings.active = "D:\\dropped.test";
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path), FormatSettingsFile(TestSettings));
}

TEST_F(SettingsFileTest, SaveReplacesEverythingTheFileHeld) {
    WriteBytes(path, "active=old\r\nextra=line\r\n\r\npbwin=1\r\npbwin=2\n");
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.pbwin, "2\n");  // LF alone does not end a line
    TestSettings.pbwin = "C:\\PB\\Pbwin.exe";
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path),
              "active=old\r\ndirectory=\r\noutput=\r\ncompiler=\r\npbwin=C:\\PB\\Pbwin.exe\r\npbcc=\r\n"
              "quarex=\r\ninclude=\r\nincl1=\r\nincl2=\r\nincl3=\r\nincl4=\r\n");

    // A record in normal form loads back from what was written.
    TestSettings.directory = "specific";
    TestSettings.compiler = "pbcc";
    TestSettings.include = "4";
    TestSettings.incl4 = "D:\\inc four";
    SaveSettings(TestSettings);
    SettingsRecord saved = TestSettings;
    TestSettings = SettingsRecord{};
    LoadSettings(TestSettings);
    EXPECT_EQ(FormatSettingsFile(TestSettings), FormatSettingsFile(saved));
}

TEST_F(SettingsFileTest, SaveToAHeldFileWritesNothing) {
    WriteBytes(path, "active=before\r\n");
    TestSettings.active = "after";
    {
        ExclusiveHold hold(path);
        SaveSettings(TestSettings);
    }
    EXPECT_EQ(ReadBytes(path), "active=before\r\n");
    EXPECT_EQ(TestSettings.active, "after");
}

namespace {

// Every file that a save may have left beside the settings file: whatever bears its name and more.
std::vector<std::string> TemporaryFilesBeside(const std::string& settingsPath) {
    std::vector<std::string> names;
    std::string own = SplitPath(settingsPath).name;
    for (const std::string& name : NamesMatching(settingsPath + "*"))
        if (name != own) names.push_back(name);
    return names;
}

}  // namespace

TEST_F(SettingsFileTest, FailedSaveLeavesNoTemporaryFileBehind) {
    WriteBytes(path, "active=before\r\n");
    {
        ExclusiveHold hold(path);
        SaveSettings(TestSettings);
    }
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());

    // The same for a settings "file" that is a folder.
    DeleteFileW(ToWide(path).c_str());
    ASSERT_TRUE(CreateDirectoryW(ToWide(path).c_str(), nullptr));
    SaveSettings(TestSettings);
    EXPECT_TRUE(IsDirectory(path));
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
    RemoveDirectoryW(ToWide(path).c_str());

    SaveSettings(TestSettings);
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
    EXPECT_EQ(ReadBytes(path).substr(0, 7), "active=");
}

namespace {

// The rights on a file as text ("D:(A;;FA;;;WD)..."), to compare.
std::string AccessRightsOf(const std::string& file) {
    std::wstring wide = ToWide(file);
    DWORD needed = 0;
    GetFileSecurityW(wide.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> security(needed);
    if (needed == 0 ||
        !GetFileSecurityW(wide.c_str(), DACL_SECURITY_INFORMATION, security.data(), needed, &needed))
        return "unreadable";
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(security.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return "unconvertible";
    std::string rights = ToAnsi(text);
    LocalFree(text);
    return rights;
}

}  // namespace

// A save changes the content only: a hidden system file stays so, and the rights given on it
// stay (Windows keeps the access list; Wine keeps it as the file's Unix mode).
TEST_F(SettingsFileTest, SaveKeepsTheFilesAttributesAndAccessRights) {
    WriteBytes(path, "active=before\r\n");
    std::wstring wide = ToWide(path);
    PSECURITY_DESCRIPTOR everyoneWrites = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;FA;;;WD)", SDDL_REVISION_1,
                                                                     &everyoneWrites, nullptr));
    ASSERT_TRUE(SetFileSecurityW(wide.c_str(), DACL_SECURITY_INFORMATION, everyoneWrites));
    LocalFree(everyoneWrites);
    const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), hiddenSystem));
    const std::string rights = AccessRightsOf(path);

    TestSettings.active = "after";
    SaveSettings(TestSettings);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    EXPECT_EQ(ReadBytes(path).substr(0, 14), "active=after\r\n");
    EXPECT_EQ(attributes & hiddenSystem, hiddenSystem) << std::hex << attributes;
    EXPECT_EQ(AccessRightsOf(path), rights);
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFileTest, ReadOnlySettingsFileIsNotReplaced) {
    WriteBytes(path, "active=before\r\n");
    ASSERT_TRUE(SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    TestSettings.active = "after";
    SaveSettings(TestSettings);
    SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), "active=before\r\n");
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
}

// A process killed in the middle of saving leaves either the old or the new settings, never an
// empty or half-written file.
TEST(SettingsSave, KilledHalfWayLeavesAWholeFile) {
    TempDir dir;
    std::string exe = dir / "save_loop.exe";
    ASSERT_TRUE(CopyFileW(ToWide(ExecutableFolder() + "save_loop.exe").c_str(), ToWide(exe).c_str(), FALSE));
    std::string ini = dir / "save_loop.ini";

    auto record = [](char fill) {
        SettingsRecord r;
        r.active = std::string(100000, fill);
        r.directory = "specific";
        r.output = std::string(100000, fill);
        r.compiler = "pbcc";
        r.include = "2";
        return FormatSettingsFile(r);
    };
    const std::string first = record('a'), second = record('b');
    WriteBytes(ini, first);

    for (int round = 0; round < 12; ++round) {
        const std::string before = ReadBytes(ini);
        StartedProcess process = StartProcess(L"\"" + ToWide(exe) + L"\"");
        ASSERT_TRUE(process);
        // Kill it only once it is saving for certain (a save has changed the file), at a moment
        // that moves from round to round.
        DWORD deadline = GetTickCount() + 30000;
        bool saved = false;
        while (!saved && GetTickCount() < deadline) {
            Sleep(1);
            saved = ReadBytes(ini) != before;
        }
        Sleep(3 * round);
        TerminateProcess(process.Handle(), 9);
        WaitForSingleObject(process.Handle(), INFINITE);
        ASSERT_TRUE(saved) << "round " << round << ": the loop never saved";

        std::string bytes = ReadBytes(ini);
        ASSERT_TRUE(bytes == first || bytes == second) << "round " << round << ": " << bytes.size() << " bytes";
    }
}

// Another program that has the settings file open only for a moment does not cost the save.
TEST_F(SettingsFileTest, FileHeldForAMomentIsStillReplaced) {
    WriteBytes(path, "active=before\r\n");
    TestSettings.active = "after";
    auto hold = std::make_unique<ExclusiveHold>(path);
    ASSERT_TRUE(hold->Held());
    std::thread release([&hold] {
        Sleep(30);
        hold.reset();
    });
    SaveSettings(TestSettings);
    release.join();
    EXPECT_EQ(ReadBytes(path).substr(0, 14), "active=after\r\n");
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
}

// A settings file with a second name (a hard link) is written through, so both names hold the
// new settings; a rename over it would leave the other name with the old ones. Links to files
// elsewhere (reparse points) and encrypted or compressed files are written in place the same
// way; Wine shows a Unix symbolic link as a plain file, so for those the decision is shown alone.
TEST_F(SettingsFileTest, EveryNameOfTheFileGetsTheSave) {
    WriteBytes(path, "active=before\r\n");
    std::string second = ExecutableFolder() + "second name of the settings.ini";
    DeleteFileW(ToWide(second).c_str());
    ASSERT_TRUE(CreateHardLinkW(ToWide(second).c_str(), ToWide(path).c_str(), nullptr));
    TestSettings.active = "after";
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(path), FormatSettingsFile(TestSettings));
    EXPECT_EQ(ReadBytes(second), FormatSettingsFile(TestSettings));
    EXPECT_TRUE(TemporaryFilesBeside(path).empty());
    DeleteFileW(ToWide(second).c_str());

    EXPECT_TRUE(SavesInPlace(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT, 1));
    EXPECT_TRUE(SavesInPlace(FILE_ATTRIBUTE_ENCRYPTED, 1));
    EXPECT_TRUE(SavesInPlace(FILE_ATTRIBUTE_COMPRESSED, 1));
    EXPECT_TRUE(SavesInPlace(FILE_ATTRIBUTE_NORMAL, 2));
    EXPECT_FALSE(SavesInPlace(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 1));
    EXPECT_FALSE(SavesInPlace(FILE_ATTRIBUTE_NORMAL, 0));
}
