# The layer check against small trees, one case a line: a tree that keeps the layers passes, and
# each way around the check fails with its reason. Run by the build before the check itself.
# cmake -DCHECK=cmake/check_layers.cmake -DWORK=<scratch folder> -DSTAMP=... -P cmake/check_layers_test.cmake
cmake_minimum_required(VERSION 3.25)
set(failures "")

# Writes a tree that keeps the layers into WORK/<name>, then `file` with `content`, runs the check on it and compares its outcome with `expected`: "" for a pass,
# otherwise a text the check's message must hold.
function(expect name file content expected)
    set(tree "${WORK}/${name}")
    file(REMOVE_RECURSE "${tree}")
    file(WRITE "${tree}/src/core/text.h" "#include <string>\n")
    file(WRITE "${tree}/src/core/CMakeLists.txt" "add_library(tb_core STATIC text.cpp)\n")
    file(WRITE "${tree}/src/platform/files.cpp" "#include <windows.h>\n#include \"core/text.h\"\n")
    file(WRITE "${tree}/src/platform/CMakeLists.txt"
         "add_library(tb_platform STATIC files.cpp)\ntarget_link_libraries(tb_platform PUBLIC tb_core kernel32)\n"
         "add_library(tb_core_on_windows STATIC core_on_windows.cpp)\n"
         "target_link_libraries(tb_core PUBLIC tb_core_on_windows)\n")
    file(WRITE "${tree}/src/workflow/drop.h" "#include \"platform/files.h\"\n#include \"../core/text.h\"\n")
    file(WRITE "${tree}/src/workflow/CMakeLists.txt"
         "add_library(tb_workflow STATIC drop.cpp)\ntarget_link_libraries(tb_workflow PUBLIC tb_platform)\n")
    file(WRITE "${tree}/src/ui/main_window.h" "#  include <workflow/drop.h>\n")
    file(WRITE "${tree}/src/app/main.cpp" "#include \"ui/main_window.h\"\n")
    if(file)
        file(WRITE "${tree}/${file}" "${content}\n")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DSTAMP=${tree}/stamp -P ${CHECK}
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    string(REGEX REPLACE "[ \t\n]+" " " output "${output}")
    if(expected STREQUAL "" AND NOT status EQUAL 0)
        list(APPEND failures "${name}: failed a tree that keeps the layers: ${output}")
    elseif(NOT expected STREQUAL "" AND (status EQUAL 0 OR NOT output MATCHES "${expected}"))
        list(APPEND failures "${name}: wanted \"${expected}\", got (exit ${status}) ${output}")
    endif()
    file(REMOVE_RECURSE "${tree}")
    set(failures "${failures}" PARENT_SCOPE)
endfunction()

expect(layered           ""                             ""                              "")
expect(quoted_up         src/workflow/a.cpp             "#include \"ui/main_window.h\""  "workflow includes ui")
expect(angled_up         src/workflow/a.cpp             "#include <ui/main_window.h>"    "workflow includes ui")
expect(relative_up       src/platform/a.cpp             "#include \"../workflow/drop.h\"" "platform includes workflow")
expect(other_case_up     src/core/a.h                   "# include <Platform\\files.h>" "core includes platform")
expect(windows_h_case    src/core/a.cpp                 "#include <Windows.h>"          "core includes a Windows header")
expect(windows_h_quoted  src/core/a.cpp                 "#include \"WINUSER.H\""       "core includes a Windows header")
expect(unreadable        src/core/a.cpp                 "#include TB_HEADER"            "cannot follow")
expect(subfolder         src/ui/detail/a.h              "#include <workflow/drop.h>"     "src/ui/detail: a layer has no subfolders")
expect(no_layer_folder   src/util/a.h                   "#include <string>"              "src/util is no layer")
expect(no_layer_file     src/a.h                        "#include <string>"              "src/a.h is no layer")
expect(link_skips        src/ui/CMakeLists.txt
       "add_library(tb_ui STATIC main_window.cpp)\ntarget_link_libraries(tb_ui PUBLIC tb_platform comctl32)"
       "tb_ui \\(ui\\) links tb_platform \\(platform\\)")
expect(link_up           src/app/CMakeLists.txt
       "add_executable(TestBuilder main.cpp)\ntarget_link_libraries(tb_platform PRIVATE tb_workflow)"
       "tb_platform \\(platform\\) links tb_workflow \\(workflow\\)")
expect(undeclared_down   src/app/CMakeLists.txt
       "add_executable(TestBuilder main.cpp)\ntarget_link_libraries(tb_core PRIVATE tb_platform)"
       "tb_core \\(core\\) links tb_platform \\(platform\\)")

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "The layer check let a case through or stopped a good tree:\n  ${text}")
endif()
file(TOUCH "${STAMP}")
