# Everything the build needs, found once; a missing package stops the configuration with the
# Debian package that brings it (scripts/deps.sh installs them all).
function(corvane_require found package)
  if(NOT ${found})
    message(FATAL_ERROR "Missing dependency: install the Debian package ${package} "
                        "(bash scripts/deps.sh installs everything the build needs).")
  endif()
endfunction()

find_package(Qt6 QUIET COMPONENTS Widgets Test)
corvane_require(Qt6_FOUND "qt6-base-dev")
# Qt's private headers: the accessibility test switches the platform's accessibility on.
get_target_property(CORVANE_QT_GUI_PRIVATE_DIRS Qt6::GuiPrivate INTERFACE_INCLUDE_DIRECTORIES)
find_path(CORVANE_QT_PLATFORM_ACCESSIBILITY qpa/qplatformaccessibility.h
          PATHS ${CORVANE_QT_GUI_PRIVATE_DIRS} NO_DEFAULT_PATH)
corvane_require(CORVANE_QT_PLATFORM_ACCESSIBILITY "qt6-base-private-dev")
find_package(GTest QUIET)
corvane_require(GTest_FOUND "libgtest-dev")
if(CORVANE_BENCH)
  find_package(benchmark QUIET)
  corvane_require(benchmark_FOUND "libbenchmark-dev")
endif()
# The command-line companion's argument parsing and JSON.
find_package(CLI11 QUIET CONFIG)
corvane_require(CLI11_FOUND "libcli11-dev")
find_package(nlohmann_json QUIET CONFIG)
corvane_require(nlohmann_json_FOUND "nlohmann-json3-dev")
