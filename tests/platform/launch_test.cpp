// LaunchProgram with real child processes: the stand-in records how it was started.
#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/launch.h"
#include "platform/system_error.h"
#include "standin_support.h"
#include "test_support.h"
#include "core/command_lines.h"

namespace {

class Launch : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(ToWide(temp / "my tools").c_str(), nullptr);
        InstallStandin(program);
        startDirectory = GetCurrentDir();
    }
    void TearDown() override { SetCurrentDir(startDirectory); }

    TempDir temp;
    std::string program = temp / "my tools\\child.exe";
    std::string startDirectory;
};

TEST_F(Launch, ChildGetsTheWholeCommandLineAndTheShowState) {
    std::string first = Quoted(program) + " \"D:\\a b\\util.test\" /add";
    // Far beyond the 256 units that would fit a fixed buffer.
    std::string second = Quoted(program) + " /L \"" + std::string(1200, 'x') + "\"";

    LaunchResult hidden = LaunchProgram(first, kShowHidden, Wait::UntilEnd);
    LaunchResult normal = LaunchProgram(second, kShowNormal, Wait::UntilEnd);

    EXPECT_TRUE(hidden.started);
    EXPECT_EQ(hidden.exitCode, 0);
    EXPECT_TRUE(normal.started);
    EXPECT_EQ(normal.exitCode, 0);
    std::vector<StandinRecord> records = StandinRecords(program);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].command, first);
    EXPECT_EQ(records[0].show, SW_HIDE);
    EXPECT_TRUE(records[0].useShowWindow);
    EXPECT_EQ(records[1].command, second);
    EXPECT_EQ(records[1].command.size(), second.size());
    EXPECT_EQ(records[1].show, SW_SHOWNORMAL);
    EXPECT_TRUE(records[1].useShowWindow);
}

TEST_F(Launch, QuietErrorModeDuringTheStartOnly) {
    UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    LaunchResult run = LaunchProgram(Quoted(program), kShowHidden, Wait::UntilEnd);
    UINT after = SetErrorMode(before);

    EXPECT_TRUE(run.started);
    EXPECT_EQ(after, static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    // Windows hands the mode in force at creation to the child; Wine 8 gives every child mode 0.
    std::vector<StandinRecord> records = StandinRecords(program);
    ASSERT_EQ(records.size(), 1u);
    if (!RunningUnderWine()) {
        EXPECT_EQ(records[0].errorMode, static_cast<unsigned>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    }
}

TEST_F(Launch, ExitCodesAreSignedAndCrashesAreFailures) {
    WriteStandinPlan(program, "exit=3\r\n");
    EXPECT_EQ(LaunchProgram(Quoted(program), kShowHidden, Wait::UntilEnd).exitCode, 3);
    WriteStandinPlan(program, "exit=-5\r\n");
    EXPECT_EQ(LaunchProgram(Quoted(program), kShowHidden, Wait::UntilEnd).exitCode, -5);
    WriteStandinPlan(program, "crash=1\r\nexit=0\r\n");
    LaunchResult crashed = LaunchProgram(Quoted(program), kShowHidden, Wait::UntilEnd);
    EXPECT_TRUE(crashed.started);
    EXPECT_EQ(crashed.exitCode, static_cast<int32_t>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(Launch, WithoutWaitGivesTheProcessIdOfARunningChildThatInheritsNoHandle) {
    std::string release = temp / "release";
    WriteStandinPlan(program, "waitfor=" + release + "\r\n");
    // An inheritable pipe: if the child held its write end, the pipe would not break below.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inheritable, 0));

    LaunchResult run = LaunchProgram(Quoted(program) + " /run", kShowNormal, Wait::No);

    ASSERT_TRUE(run.started);
    ASSERT_NE(run.processId, 0u);
    HANDLE child = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, run.processId);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(WaitForSingleObject(child, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    CloseHandle(writeEnd);
    DWORD available = 0;
    EXPECT_FALSE(PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
    CloseHandle(readEnd);

    WriteBytes(release, "");
    EXPECT_EQ(WaitForSingleObject(child, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(child);
    std::vector<StandinRecord> records = StandinRecords(program);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, Quoted(program) + " /run");
}

TEST_F(Launch, MissingProgramIsNotStarted) {
    std::string missing = Quoted(temp / "my tools\\absent.exe") + " /add";
    for (Wait wait : {Wait::UntilEnd, Wait::No}) {
        LaunchResult run = LaunchProgram(missing, kShowHidden, wait);
        EXPECT_FALSE(run.started) << (wait == Wait::UntilEnd);
        EXPECT_EQ(run.exitCode, 0) << (wait == Wait::UntilEnd);
        EXPECT_EQ(run.processId, 0u) << (wait == Wait::UntilEnd);
        EXPECT_EQ(run.error, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND)) << (wait == Wait::UntilEnd);
    }
    LaunchResult empty = LaunchProgram("", kShowHidden, Wait::UntilEnd);
    EXPECT_FALSE(empty.started);
    EXPECT_NE(empty.error, 0u);
}

TEST_F(Launch, ChildInheritsTheCurrentDirectoryAndIsFoundWithoutExtension) {
    std::string work = temp / "work dir";
    CreateDirectoryW(ToWide(work).c_str(), nullptr);
    SetCurrentDir(work + "\\");

    std::string withoutExtension = Quoted(temp / "my tools\\child");
    LaunchResult run = LaunchProgram(withoutExtension, kShowNormal, Wait::UntilEnd);

    EXPECT_TRUE(run.started);
    std::vector<StandinRecord> records = StandinRecords(program);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, withoutExtension);
    EXPECT_EQ(records[0].directory, work);
}

TEST(SystemErrorText, TheSystemsReasonWithoutLineEnd) {
    std::string reason = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), '\n');
    EXPECT_NE(reason.back(), '\r');
    EXPECT_NE(reason, SystemErrorText(ERROR_ACCESS_DENIED));
}

}  // namespace
