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
find_package(GTest QUIET)
corvane_require(GTest_FOUND "libgtest-dev")
if(CORVANE_BENCH)
  find_package(benchmark QUIET)
  corvane_require(benchmark_FOUND "libbenchmark-dev")
endif()
