# The Windows build, cross-compiled with MinGW-w64 (cmake/MinGW64Toolchain.cmake) and tested
# under Wine (scripts/windows.sh). Without a Windows Qt (CORVANE_WINDOWS_QT OFF) only what needs
# no Qt: the document layer, the table text, cvnobj and their tests.
option(CORVANE_WINDOWS_QT "Build the editor and its tests with a Windows Qt" ON)

# MinGW's C and C++ runtimes and its threads linked into every program, so cvnobj.exe and the
# tests run from any folder without the MinGW DLLs beside them.
add_link_options(-static)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# CLI11 and nlohmann-json are header-only; Debian's CMake files for them add /usr/include, which
# a MinGW build must never see, so they are used from a folder holding only their headers.
set(header_only ${CMAKE_BINARY_DIR}/header-only)
file(COPY /usr/include/CLI /usr/include/nlohmann DESTINATION ${header_only})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${header_only})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${header_only})

include(cmake/CorvaneGoogleTestSource.cmake)
enable_testing()
include(cmake/CorvaneTesting.cmake)

add_subdirectory(codepage)
add_subdirectory(document)
add_subdirectory(tabletext)
add_subdirectory(cli)
add_subdirectory(tests/codepage)
add_subdirectory(tests/document)
add_subdirectory(tests/tabletext)

