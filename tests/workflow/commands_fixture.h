#pragma once
// What the command tests share (the workflow's and the fault tests'): stand-ins as the framework
// tool and the compiler at paths with spaces in every place, a test file, a visible main window
// whose feedback is recorded, and stand-ins wherever the system would look first for one of
// those paths unquoted, which no test may start.
#include <gtest/gtest.h>

#include <string>

#include "core/settings_record.h"
#include "core/command_lines.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "standin_support.h"
#include "test_support.h"
#include "workflow_support.h"

class CommandsFixture : public ::testing::Test {
protected:
    static constexpr const char* kTraps[] = {"Program.exe",    "Program Files\\Quarex.exe", "PB.exe",
                                             "PB Win.exe",     "PB Win 10\\Bin.exe",        "my.exe",
                                             "my src\\my.exe", "my src\\test\\my.exe",      "gen.exe",
                                             "gen out\\my.exe"};

    void SetUp() override {
        for (const char* folder : {"Program Files", "Program Files\\Quarex Tool", "PB Win 10", "PB Win 10\\Bin Dir",
                                   "PB Win 10\\Win API", "my src", "my src\\test", "gen out"})
            MakeFolder(temp / folder);
        InstallStandin(quarex);
        InstallStandin(compiler);
        for (const char* trap : kTraps) InstallStandin(temp / trap);
        WriteBytes(source, "' the code under test\r\n");
        WriteBytes(testFile, "[quarex]\r\nsource=" + source + "\r\n");

        TestSettings = SettingsRecord{};
        TestSettings.active = testFile;
        TestSettings.quarex = quarex;
        TestSettings.activeCompilerPath = compiler;
        TestSettings.activeIncludeDir = include;

        startDirectory = GetCurrentDir();
        SetCurrentDir(temp.Path());
        feedback.Observe(window.Get());
        DeleteFileW(ToWide(OwnSettingsFile()).c_str());
    }

    void TearDown() override {
        for (const char* trap : kTraps) EXPECT_TRUE(StandinRecords(temp / trap).empty()) << trap << " was started";
        SetCurrentDir(startDirectory);
        DeleteFileW(ToWide(OwnSettingsFile()).c_str());
    }

    // The compiler's command line for a generated source, as the settings give it.
    std::string Compiled(const std::string& generatedSource) const {
        return CompileCommandLine(TestSettings, generatedSource);
    }
    static void MakeFolder(const std::string& path) { CreateDirectoryW(ToWide(path).c_str(), nullptr); }
    static std::string WithoutTrailingBackslash(const std::string& folder) {
        return folder.substr(0, folder.size() - 1);
    }

    TempDir temp;
    std::string quarex = temp / "Program Files\\Quarex Tool\\quarex.exe";
    std::string compiler = temp / "PB Win 10\\Bin Dir\\Pbwin.exe";
    std::string include = temp / "PB Win 10\\Win API";
    std::string source = temp / "my src\\my util.bas";
    std::string testFile = temp / "my src\\my util.test";
    std::string generatedFolder = temp / "my src\\test\\";
    std::string generated = generatedFolder + "my util_test.bas";
    std::string generatedLog = generatedFolder + "my util_test.log";
    std::string testProgram = generatedFolder + "my util_test.exe";
    std::string startDirectory;
    TestMainWindow window{true};
    FeedbackRecorder feedback;
};
