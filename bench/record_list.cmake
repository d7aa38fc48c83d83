# Refilling the record list as every editing keystroke does: clear, 512 rows, reselect.
add_executable(record_list_bench ${CMAKE_CURRENT_LIST_DIR}/record_list_bench.cpp)
target_link_libraries(record_list_bench PRIVATE corvane_ui benchmark::benchmark)
