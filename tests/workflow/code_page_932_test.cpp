// The drop and the generated test source path under code page 932, where the second byte of a
// character can be the byte of "\": "表" is 95 5C and "ソ" is 83 5C. Run with a Japanese locale
// (LANG=ja_JP.UTF-8), from which Wine takes the code page.
#include <gtest/gtest.h>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "test_support.h"
#include "workflow/generated_path.h"
#include "workflow_support.h"

namespace {

const std::string kKanjiKatakana = "\x95\x5C\x83\x5C";  // "表ソ"

class CodePage932 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "needs the locale ja_JP.UTF-8 (scripts/install-deps.sh makes it)";
        TestSettings = SettingsRecord{};
        CreateDirectoryW(ToWide(temp / "src").c_str(), nullptr);
    }
    void TearDown() override { DeleteFileW(ToWide(OwnSettingsFile()).c_str()); }

    TempDir temp;
};

}  // namespace

TEST_F(CodePage932, DropKeepsTheWholeNameAndPutsABackslashAfterAFolderNamedKanji) {
    // The output folder ends in "表", whose second byte is that of "\": it still needs its "\".
    TestSettings.directory = "specific";
    TestSettings.output = temp / "gen\\\x95\x5C";
    TestMainWindow window(false);
    DeliverWideDrop(window.Get(), {ToWide(temp.Path()) + L"src\\\u8868\u30BDa.bas"});

    const std::string source = temp / ("src\\" + kKanjiKatakana + "a.bas");
    const std::string testFile = temp / ("src\\" + kKanjiKatakana + "a.test");
    EXPECT_EQ(TestSettings.output, temp / "gen\\\x95\x5C\\");
    EXPECT_EQ(ReadBytes(testFile), "[quarex]\r\nsource=" + source + "\r\noutput=" + (temp / "gen\\\x95\x5C\\") +
                                       kKanjiKatakana + "a_test.bas\r\n");
    EXPECT_EQ(TestSettings.active, testFile);
    EXPECT_EQ(window.LabelText(), testFile);
    EXPECT_EQ(ReadBytes(OwnSettingsFile()), FormatSettingsFile(TestSettings));
}

TEST_F(CodePage932, GeneratedSourceLiesInTheTestFolderBesideTheSource) {
    TestSettings.active = temp / "src\\u.test";
    WriteBytes(TestSettings.active, "[quarex]\r\nsource=D:\\src\\" + kKanjiKatakana + "a.bas\r\n");
    EXPECT_EQ(GeneratedTestSourcePath(TestSettings), "D:\\src\\test\\" + kKanjiKatakana + "a_test.bas");
}
