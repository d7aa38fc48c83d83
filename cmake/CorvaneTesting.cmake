# One test executable per subject. Qt tests run headless; every test gets the
# offscreen platform and its own settings and data folders so nothing touches the user's.
function(corvane_add_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

function(corvane_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-data")
endfunction()

# Qt tests that need a real X server: each runs on a private Xvfb display with the xcb platform
# (tests/desktop/run_under_xvfb.sh), and counts as skipped where Xvfb is not installed.
function(corvane_add_desktop_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test)
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/run_under_xvfb.sh $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    SKIP_RETURN_CODE 77
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-data")
endfunction()

# Qt tests that need a Wayland compositor: each runs as a client of a private headless weston
# with the wayland platform and its protocol log (tests/desktop/run_under_weston.sh), and counts
# as skipped where weston is not installed.
function(corvane_add_wayland_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test)
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/run_under_weston.sh $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 120
    SKIP_RETURN_CODE 77
    ENVIRONMENT "QT_QPA_PLATFORM=wayland;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-data")
endfunction()
