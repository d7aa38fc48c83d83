# GoogleTest built from /usr/src/googletest (Debian's googletest package) by the compiler of this
# build, for a build whose CPU has no libgtest-dev of its own. Only gtest and gtest_main.
set(CORVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${CORVANE_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
# Not our code: built with its own flags, without our warnings.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS -w)
if(NOT TARGET GTest::gtest_main) # the names libgtest-dev's package gives; newer sources do too
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
