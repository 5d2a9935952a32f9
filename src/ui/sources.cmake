# The windows and the executable.
target_sources(tb_win32 PRIVATE
    ${CMAKE_SOURCE_DIR}/src/ui/dialog_frame.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/during_wait.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/placement.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/main_window.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/configure_dialog.cpp)
target_link_libraries(tb_win32 PUBLIC comdlg32 comctl32 ole32)

# Resources: the version comes from the VERSION file, through a generated header and manifest.
enable_language(RC)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)
set(TB_VERSION_PATCH_NUMBER ${PROJECT_VERSION_PATCH})
if(TB_VERSION_PATCH_NUMBER STREQUAL "")
    set(TB_VERSION_PATCH_NUMBER 0)
endif()
set(TB_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${TB_VERSION_PATCH_NUMBER}.0")
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
# The manifest names the build's own processor: a 64-bit program that asks for the 32-bit common
# controls does not start on Windows.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TB_MANIFEST_ARCH amd64)
else()
    set(TB_MANIFEST_ARCH x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/TestBuilder.manifest.in
               ${CMAKE_BINARY_DIR}/generated/TestBuilder.manifest @ONLY)
# The resource object, shared by the executable and the window tests (which load icon 1).
add_library(tb_resources OBJECT ${CMAKE_SOURCE_DIR}/resources/TestBuilder.rc)
target_include_directories(tb_resources PRIVATE ${CMAKE_BINARY_DIR}/generated ${CMAKE_SOURCE_DIR}/resources)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/TestBuilder.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_SOURCE_DIR}/resources/TestBuilder.ico
    ${CMAKE_BINARY_DIR}/generated/TestBuilder.manifest
    ${CMAKE_BINARY_DIR}/generated/version.h)

# The tool itself, a GUI program with everything linked in. It is written into TB_EXE_DIR, the
# build folder unless told otherwise: `make` sends the 32-bit release to dist/, and every other
# build keeps its executable to itself.
set(TB_EXE_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Where the build writes TestBuilder.exe")
add_executable(TestBuilder WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${CMAKE_SOURCE_DIR}/src/app/quiet_terminate.cpp
               $<TARGET_OBJECTS:tb_resources>)
target_link_libraries(TestBuilder PRIVATE tb_win32)
target_link_options(TestBuilder PRIVATE -mwindows $<$<CONFIG:Release>:-s>)
set_target_properties(TestBuilder PROPERTIES
    OUTPUT_NAME TestBuilder
    RUNTIME_OUTPUT_DIRECTORY ${TB_EXE_DIR}
    RUNTIME_OUTPUT_DIRECTORY_RELEASE ${TB_EXE_DIR}
    RUNTIME_OUTPUT_DIRECTORY_DEBUG ${TB_EXE_DIR})

# `make screenshots` drives the tool with this to picture its windows; not part of the build.
add_executable(screenshot_driver EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tools/screenshot_driver.cpp)
target_link_options(screenshot_driver PRIVATE -municode)
