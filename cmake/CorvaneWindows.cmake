# The Windows build, cross-compiled with MinGW-w64 (cmake/MinGW64Toolchain.cmake) and tested
# under Wine (scripts/windows.sh). Without a Windows Qt (CORVANE_WINDOWS_QT OFF) only what needs
# no Qt: the document layer, the table text, cvnobj and their tests.
option(CORVANE_WINDOWS_QT "Build the editor and its tests with a Windows Qt" ON)
set(CORVANE_WINEPREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH "The tests' own Wine prefix")

set(CORVANE_WINDOWS_ICON "" CACHE FILEPATH "The program icon as .ico (scripts/windows.sh draws it)")
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# MinGW's C and C++ runtimes and its threads linked into cvnobj and the tests without Qt, so they
# run from any folder alone. With Qt they are the DLLs Qt itself uses, one copy for all.
if(NOT CORVANE_WINDOWS_QT)
  add_link_options(-static)
endif()

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
target_link_options(cvnobj PRIVATE -static) # cvnobj.exe runs alone, wherever it is copied

# Each program's version, publisher and icon, as Explorer shows them.
function(corvane_version_resource target description)
  set(CORVANE_RC_NAME ${target})
  set(CORVANE_RC_DESCRIPTION ${description})
  set(CORVANE_RC_ICON "")
  if(CORVANE_WINDOWS_ICON)
    set(CORVANE_RC_ICON "1 ICON \"${CORVANE_WINDOWS_ICON}\"")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
corvane_version_resource(cvnobj "Batch work on Corvane object data files")
# tests/cli starts cvnobj with fork and exec; scripts/windows_cvnobj_check.sh runs cvnobj.exe.
set(test_folders tests/codepage tests/document tests/tabletext)

if(CORVANE_WINDOWS_QT)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
  qt_standard_project_setup()
  add_subdirectory(rtf)
  add_subdirectory(ui)
  add_subdirectory(editor)
  add_subdirectory(views)
  add_subdirectory(shell)
  add_subdirectory(app)
  corvane_version_resource(corvane-objdat-editor "Corvane OBJDAT File Editor")
  set_target_properties(corvane-objdat-editor PROPERTIES WIN32_EXECUTABLE ON)
  add_subdirectory(tests/support)
  list(APPEND test_folders tests/rtf tests/ui tests/shell tests/editor tests/views
       tests/app)
endif()
# Every test runs under Wine in the tests' own prefix, headless. Wine hands a program the Unix
# variables named WINEQT_... as QT_..., not those named QT_... themselves; QtTest writes to the
# debugger unless told to use standard error; the offscreen platform finds fonts only in a
# folder it is given. Qt's folder of DLLs holds the MinGW runtime too (scripts/windows_qt.sh).
set(CORVANE_EMULATOR_ENVIRONMENT
  "WINEPREFIX=set:${CORVANE_WINEPREFIX}" "WINEDEBUG=set:-all" "WINEDLLOVERRIDES=set:mscoree,mshtml="
  "WINEQT_QPA_PLATFORM=set:offscreen" "WINEQT_FORCE_STDERR_LOGGING=set:1"
  "WINEQT_QPA_FONTDIR=set:Z:/usr/share/fonts/truetype/dejavu")
if(CORVANE_WINDOWS_QT)
  get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
  get_filename_component(qt_bin "${qt_core}" DIRECTORY)
  list(APPEND CORVANE_EMULATOR_ENVIRONMENT "WINEPATH=set:Z:${qt_bin}")
endif()
foreach(folder IN LISTS test_folders)
  add_subdirectory(${folder})
endforeach()

