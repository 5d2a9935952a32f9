// The settings file held open by another process while the tool loads or saves it.
#include <gtest/gtest.h>

#include "workflow/settings_file.h"
#include "fault_support.h"
#include "platform/ansi.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow_support.h"

namespace {

class SettingsHeld : public ::testing::Test {
protected:
    FreshSettings fresh;
};

const char* const kFileOnDisk =
    "active=D:\\from file\\util.test\r\ndirectory=relative\r\ncompiler=pbwin\r\npbwin=D:\\file\\Pbwin.exe\r\n"
    "quarex=D:\\file\\quarex.exe\r\ninclude=1\r\nincl1=D:\\file\\inc\r\n";

}  // namespace

TEST_F(SettingsHeld, LoadReadsNothingAppliesNoDefaultsAndStillDerives) {
    WriteBytes(OwnSettingsFile(), kFileOnDisk);
    HeldByAnotherProcess holder(OwnSettingsFile());
    ASSERT_TRUE(holder.Held());

    // As at start-up: an empty record stays empty. The file exists, so none of the three
    // defaults is applied, and the active compiler is the empty PBCC path.
    LoadSettings(TestSettings);
    EXPECT_EQ(EveryField(TestSettings), EveryField(SettingsRecord{}));

    // The derived fields follow what the record already holds, not the file.
    SettingsRecord before;
    before.compiler = "pbcc";
    before.pbwin = "C:\\PB Win\\Pbwin.exe";
    before.pbcc = "C:\\PB CC\\pbcc.exe";
    before.include = "3";
    before.incl3 = "C:\\inc three";
    TestSettings = before;
    LoadSettings(TestSettings);
    SettingsRecord expected = before;
    expected.activeCompilerPath = "C:\\PB CC\\pbcc.exe";
    expected.activeIncludeDir = "C:\\inc three";
    EXPECT_EQ(EveryField(TestSettings), EveryField(expected));

    // Loading never writes; once the other program lets go, the same file loads.
    holder.Release();
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), kFileOnDisk);
    TestSettings = SettingsRecord{};
    LoadSettings(TestSettings);
    EXPECT_EQ(TestSettings.active, "D:\\from file\\util.test");
    EXPECT_EQ(TestSettings.activeCompilerPath, "D:\\file\\Pbwin.exe");
}

TEST_F(SettingsHeld, SaveWritesNothingKeepsTheRecordAndLeavesNoTemporaryFile) {
    WriteBytes(OwnSettingsFile(), kFileOnDisk);
    TestSettings.active = "D:\\new\\util.test";
    TestSettings.directory = "specific";
    TestSettings.output = "E:\\gen out\\";
    TestSettings.compiler = "pbcc";
    TestSettings.pbcc = "C:\\PB CC\\pbcc.exe";
    TestSettings.include = "2";
    TestSettings.incl2 = "C:\\inc two";
    DeriveActiveFields(TestSettings);
    const std::string record = EveryField(TestSettings);
    {
        HeldByAnotherProcess holder(OwnSettingsFile());
        ASSERT_TRUE(holder.Held());
        SaveSettings(TestSettings);
        SaveSettings(TestSettings);
        EXPECT_EQ(EveryField(TestSettings), record);
    }
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), kFileOnDisk);
    EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});

    // The record kept its values: the next save that can write puts them on disk.
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(TestSettings));
    EXPECT_EQ(EveryField(TestSettings), record);
    EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});
}

TEST_F(SettingsHeld, SaveWhoseTemporaryFileIsHeldWritesTheSettingsInPlace) {
    // Another program holds the very name the save would write first (another copy of the tool
    // in the middle of its own save, or a scanner): the settings file is rewritten in place, as
    // a plain save would, and the holder's file is left as it is.
    WriteBytes(OwnSettingsFile(), kFileOnDisk);
    TestSettings.active = "D:\\new\\util.test";
    std::string temporary = OwnSettingsFile() + ".tmp";
    {
        HeldByAnotherProcess holder(temporary);
        ASSERT_TRUE(holder.Held());
        SaveSettings(TestSettings);
    }
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(TestSettings));
    EXPECT_EQ(ReadBytes(temporary), "");
    DeleteFileW(ToWide(temporary).c_str());
}

// A look at the settings file that fails for another reason than "not found" (the folder's
// listing refused, a network error of a moment; Wine fails it with "not found" only, so the
// system's answer is given here): nothing is read, no defaults are taken, and neither a drop nor
// a Configure save writes over the file that run.
TEST_F(SettingsHeld, FileTheSystemCouldNotLookAtIsNeverSavedOver) {
    WriteBytes(OwnSettingsFile(), kFileOnDisk);
    LoadSettings(TestSettings, [](const std::wstring&) {
        return SettingsFileStateFor(INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED);
    });
    EXPECT_EQ(EveryField(TestSettings), EveryField(SettingsRecord{}));

    TempDir temp;
    TestMainWindow window(false);
    FeedbackRecorder feedback;
    DeliverDrop(window.Get(), {temp / "util.bas"});
    EXPECT_EQ(TestSettings.active, temp / "util.test");
    EXPECT_EQ(window.LabelText(), temp / "util.test");
    SaveSettings(TestSettings);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), kFileOnDisk);
    EXPECT_EQ(FilesBesideSettings(), std::vector<std::string>{});

    // Later cases save again: a load that finds no file forgets this one.
    DeleteFileW(ToWide(OwnSettingsFile()).c_str());
    LoadSettings(TestSettings);
}
