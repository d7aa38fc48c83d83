# What a test does not set itself of the display, the Qt platform and scaling, the desktop
# session, the session bus, the locale and the XDG folders is taken from it, whatever the caller
# has: the locale is C.UTF-8 and each test has settings, data, cache and state folders of its own.
set(CORVANE_CALLER_ENVIRONMENT
  DISPLAY WAYLAND_DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS
  QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
  QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON
  QT_IM_MODULE XMODIFIERS
  LANG LANGUAGE LC_CTYPE LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY LC_MESSAGES LC_PAPER LC_NAME
  LC_ADDRESS LC_TELEPHONE LC_MEASUREMENT LC_IDENTIFICATION
  XDG_RUNTIME_DIR XDG_DATA_DIRS XDG_CONFIG_DIRS XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
  XDG_SESSION_DESKTOP)

# add_test(NAME name COMMAND ...), with the test's environment its own. The environment is
# settled once the folder's CMakeLists.txt has set every property of the test.
function(corvane_add_test)
  add_test(${ARGV})
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME" "")
  # The name is put into the deferred call now, not looked up when it runs.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL corvane_isolate_test [[${arg_NAME}]])")
endfunction()

function(corvane_isolate_test name)
  get_test_property(${name} ENVIRONMENT environment)
  if(NOT environment)
    set(environment "")
  endif()
  set(home ${CMAKE_BINARY_DIR}/test-homes/${name})
  set(changes)
  foreach(variable IN LISTS CORVANE_CALLER_ENVIRONMENT)
    if(NOT environment MATCHES "(^|;)${variable}=")
      list(APPEND changes "${variable}=unset:")
    endif()
  endforeach()
  # ZIP_LISTS takes the names of list variables, not lists.
  set(own_variables LC_ALL XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME)
  set(own_values C.UTF-8 ${home}/config ${home}/data ${home}/cache ${home}/state)
  foreach(variable value IN ZIP_LISTS own_variables own_values)
    if(NOT environment MATCHES "(^|;)${variable}=")
      list(APPEND changes "${variable}=set:${value}")
    endif()
  endforeach()
  # A cross-built test's settings for the emulator that runs it (cmake/CorvaneWindows.cmake).
  list(APPEND changes ${CORVANE_EMULATOR_ENVIRONMENT})
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT_MODIFICATION ${changes})
endfunction()

# One test executable per subject. Qt tests run headless; every test gets the
# offscreen platform and its own settings and data folders so nothing touches the user's.
# Every test is added through one of these functions (corvane_add_test in place of add_test),
# so that none depends on the caller's environment.
function(corvane_add_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
  corvane_add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

function(corvane_add_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test)
  if(WIN32) # each test's application data its own, as its XDG folders are on Linux
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/windows_test_home.cpp)
  endif()
  corvane_add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-data")
endfunction()

# Qt tests that need a real X server: each runs on a private Xvfb display with the xcb platform
# (tests/desktop/run_under_xvfb.sh), and counts as skipped where Xvfb is not installed.
function(corvane_add_desktop_qtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE Qt6::Test)
  corvane_add_test(NAME ${name}
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
  corvane_add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/desktop/run_under_weston.sh $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 120
    SKIP_RETURN_CODE 77
    ENVIRONMENT "QT_QPA_PLATFORM=wayland;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-data")
endfunction()
