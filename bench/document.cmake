# Open and save of a full (512-record) data file with its names file.
add_executable(document_bench ${CMAKE_CURRENT_LIST_DIR}/document_bench.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/data_files.cpp)
target_include_directories(document_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(document_bench PRIVATE corvane_document benchmark::benchmark)
set_target_properties(document_bench PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
