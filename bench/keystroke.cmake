# One editing keystroke in the editor window, through the real widgets.
if(TARGET corvane_editor AND TARGET corvane_test_support)
  add_executable(keystroke_bench ${CMAKE_CURRENT_LIST_DIR}/keystroke_bench.cpp)
  target_link_libraries(keystroke_bench PRIVATE corvane_editor corvane_test_support Qt6::Test
                        benchmark::benchmark)
endif()
