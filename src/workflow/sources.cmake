# Sources of the test workflow that talk to Windows, added to tb_win32.
target_sources(tb_win32 PRIVATE
    ${CMAKE_SOURCE_DIR}/src/platform/launch.cpp
    ${CMAKE_SOURCE_DIR}/src/platform/responsive_wait.cpp
    ${CMAKE_SOURCE_DIR}/src/platform/held_messages.cpp
    ${CMAKE_SOURCE_DIR}/src/workflow/feedback.cpp
    ${CMAKE_SOURCE_DIR}/src/workflow/drop.cpp
    ${CMAKE_SOURCE_DIR}/src/workflow/generated_path.cpp
    ${CMAKE_SOURCE_DIR}/src/workflow/log_box_fit.cpp
    ${CMAKE_SOURCE_DIR}/src/workflow/commands.cpp)
