# Reading and writing the notes file's RTF: a generated document of mixed formatting, 0.25 to 1 MB.
add_executable(rtf_bench ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp)
target_link_libraries(rtf_bench PRIVATE corvane_rtf_samples benchmark::benchmark)
