#pragma once
// The case folder of the command tests: a source, its test file and stand-ins for the outside
// programs.
#include <string>
#include <vector>

#include "platform/ansi.h"
#include "standin_support.h"
#include "tool_driver.h"
#include "ui/control_ids.h"

// A case folder with a source, its test file and stand-ins for the outside programs.
struct Workbench {
    explicit Workbench(const ToolCase& tool)
        : tools(tool / "tools\\"), source(tool / "src\\util.bas"), testFile(tool / "src\\util.test"),
          generatedFolder(tool / "src\\test"), generated(tool / "src\\test\\util_test.bas"),
          testProgram(tool / "src\\test\\util_test.exe"), quarex(tools + "quarex.exe"), pbwin(tools + "Pbwin.exe"),
          pbcc(tools + "pbcc.exe") {
        CreateDirectoryW(ToWide(tool / "tools").c_str(), nullptr);
        CreateDirectoryW(ToWide(tool / "src").c_str(), nullptr);
        CreateDirectoryW(ToWide(generatedFolder).c_str(), nullptr);
        WriteBytes(source, "' the code under test\r\n");
        WriteBytes(testFile, "[quarex]\r\nsource=" + source + "\r\n");
        for (const std::string& program : {quarex, pbwin, pbcc}) InstallStandin(program);
    }

    // A settings file for this bench with PBWin as the active compiler.
    std::string SettingsWithPbwin() const {
        return "active=" + testFile + "\r\nquarex=" + quarex + "\r\ncompiler=pbwin\r\npbwin=" + pbwin + "\r\n";
    }

    // Starts the tool with these settings and clicks "Add routines", whose run of the framework
    // tool's stand-in follows `plan`. The runs recorded once the first has begun; none when the
    // tool or the run did not start.
    std::vector<StandinRecord> StartAddRoutinesRun(ToolCase& tool, const std::string& plan) const {
        WriteBytes(tool.SettingsPath(), SettingsWithPbwin());
        WriteStandinPlan(quarex, plan);
        if (!tool.Start() || !PostClick(tool.Main(), IDC_ADD_ROUTINES)) return {};
        return WaitForStandinRecords(quarex, 1);
    }

    std::string tools, source, testFile, generatedFolder, generated, testProgram, quarex, pbwin, pbcc;
};

// Programs are started with their paths in quotes, so that a path with spaces cannot start
// another program.
inline std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The current directory as a started program sees it: no trailing "\".
inline std::string WithoutSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

