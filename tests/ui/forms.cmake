# Layout of the editor, start and notes windows.
corvane_add_qtest(test_forms ${CMAKE_CURRENT_SOURCE_DIR}/test_forms.cpp)
target_link_libraries(test_forms PRIVATE corvane_ui)
