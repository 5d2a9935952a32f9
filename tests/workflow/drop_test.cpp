// HandleDrop with real drop handles delivered as WM_DROPFILES to a real window.
#include <gtest/gtest.h>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "platform/text_files.h"
#include "test_support.h"
#include "workflow_support.h"

namespace {

class Drop : public ::testing::Test {
protected:
    void SetUp() override {
        TestSettings = SettingsRecord{};
        TestSettings.directory = "relative";
        TestSettings.output = "E:\\gen";
        TestSettings.quarex = "C:\\q\\quarex.exe";
        window.SetLabelText("before");
        WriteBytes(OwnSettingsFile(), "untouched\r\n");
    }
    void TearDown() override { DeleteFileW(ToWide(OwnSettingsFile()).c_str()); }

    void Deliver(const std::vector<std::string>& names) { DeliverDrop(window.Get(), names); }

    // The saved settings file holds exactly the record, with the current test file.
    void ExpectSaved(const std::string& active) {
        EXPECT_EQ(TestSettings.active, active);
        EXPECT_EQ(window.LabelText(), active);
        std::string saved = ReadBytes(OwnSettingsFile());
        EXPECT_EQ(saved, FormatSettingsFile(TestSettings));
        EXPECT_NE(saved.find("active=" + active + "\r\n"), std::string::npos);
    }

    TempDir temp;
    TestMainWindow window{false};
    FeedbackRecorder feedback;
};

TEST_F(Drop, SourceInRelativeModeWritesTwoLinesBesideIt) {
    std::string source = temp / "Util.BAS";
    HDROP drop = MakeDrop({source});
    SendMessageW(window.Get(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);

    EXPECT_EQ(ReadBytes(temp / "Util.test"), "[quarex]\r\nsource=" + source + "\r\n");
    ExpectSaved(temp / "Util.test");
    EXPECT_EQ(TestSettings.output, "E:\\gen");
    EXPECT_EQ(feedback.Events().size(), 0u);
    // The drop was given back to the system.
    EXPECT_EQ(GlobalSize(drop), 0u);
}

TEST_F(Drop, SourceInSpecificModeAddsTheOutputLineAndSavesTheBackslash) {
    TestSettings.directory = "specific";
    Deliver({temp / "lib.Inc"});

    EXPECT_EQ(ReadBytes(temp / "lib.test"),
              "[quarex]\r\nsource=" + (temp / "lib.Inc") + "\r\noutput=E:\\gen\\lib_test.bas\r\n");
    EXPECT_EQ(TestSettings.output, "E:\\gen\\");
    ExpectSaved(temp / "lib.test");
    EXPECT_NE(ReadBytes(OwnSettingsFile()).find("output=E:\\gen\\\r\n"), std::string::npos);

    // Already ending in "\": no second one.
    Deliver({temp / "a.b.bi"});
    EXPECT_EQ(ReadBytes(temp / "a.b.test"),
              "[quarex]\r\nsource=" + (temp / "a.b.bi") + "\r\noutput=E:\\gen\\a.b_test.bas\r\n");
    EXPECT_EQ(TestSettings.output, "E:\\gen\\");
    ExpectSaved(temp / "a.b.test");
}

TEST_F(Drop, EmptyOutputBecomesALoneBackslash) {
    TestSettings.directory = "";
    TestSettings.output = "";
    Deliver({temp / "u.bas"});
    EXPECT_EQ(ReadBytes(temp / "u.test"), "[quarex]\r\nsource=" + (temp / "u.bas") + "\r\noutput=\\u_test.bas\r\n");
    EXPECT_EQ(TestSettings.output, "\\");
    ExpectSaved(temp / "u.test");
}

TEST_F(Drop, ExistingTestFileIsLeftAloneButSelectedAndOutputStillGainsItsBackslash) {
    std::string existing = "[quarex]\r\nsource=" + (temp / "util.bas") + "\r\nextra line";
    WriteBytes(temp / "util.test", existing);
    TestSettings.directory = "specific";

    Deliver({temp / "util.inc"});

    EXPECT_EQ(ReadBytes(temp / "util.test"), existing);
    EXPECT_EQ(TestSettings.output, "E:\\gen\\");
    ExpectSaved(temp / "util.test");
}

TEST_F(Drop, TestFileIsSelectedWithoutBeingReadOrCreated) {
    std::string dropped = temp / "Not A Test.TEST";
    Deliver({dropped});
    EXPECT_FALSE(PathExists(dropped));
    ExpectSaved(dropped);
    EXPECT_EQ(TestSettings.output, "E:\\gen");
}

TEST_F(Drop, OtherNamesOnlyBeep) {
    for (const std::string& name : {temp / "notes.txt", temp / "util.bas.txt", temp / "util.bas ", temp / "bas"}) {
        feedback.Clear();
        Deliver({name});
        EXPECT_EQ(feedback.Beeps(), 1) << name;
        EXPECT_EQ(feedback.Messages().size(), 0u) << name;
    }
    Deliver({});  // a drop without any name
    EXPECT_EQ(feedback.Beeps(), 2);
    EXPECT_EQ(TestSettings.active, "");
    EXPECT_EQ(window.LabelText(), "before");
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), "untouched\r\n");
    EXPECT_FALSE(PathExists(temp / "notes.test"));
}

TEST_F(Drop, OnlyTheFirstOfSeveralNames) {
    Deliver({temp / "first.bas", temp / "second.bas", temp / "third.test"});
    EXPECT_TRUE(PathExists(temp / "first.test"));
    EXPECT_FALSE(PathExists(temp / "second.test"));
    ExpectSaved(temp / "first.test");
}

TEST_F(Drop, LongNamesArriveWhole) {
    // Well beyond the 1,023 units a fixed buffer would keep.
    std::string longTest = temp.Path() + std::string(1500, 'n') + ".TEST";
    Deliver({longTest});
    ExpectSaved(longTest);

    std::string longSource = temp.Path() + std::string(1100, 's') + ".bas";
    Deliver({longSource});
    ExpectSaved(temp.Path() + std::string(1100, 's') + ".test");
}

TEST_F(Drop, NamesAreKeptInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252";
    std::string source = temp / "caf\xE9.bas";  // e with acute accent in code page 1252
    Deliver({source});
    EXPECT_EQ(ReadBytes(temp / "caf\xE9.test"), "[quarex]\r\nsource=" + source + "\r\n");
    ExpectSaved(temp / "caf\xE9.test");
}

TEST_F(Drop, TestFileThatCannotBeWrittenIsSelectedAllTheSame) {
    std::string source = temp / "no such folder\\util.bas";
    Deliver({source});
    EXPECT_FALSE(PathExists(temp / "no such folder\\util.test"));
    ExpectSaved(temp / "no such folder\\util.test");
    EXPECT_EQ(feedback.Events().size(), 0u);
}

}  // namespace
