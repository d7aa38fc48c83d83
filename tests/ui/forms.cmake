# Layout of the editor, start and notes windows.
corvane_add_qtest(ui_forms_test ${CMAKE_CURRENT_SOURCE_DIR}/test_forms.cpp)
target_link_libraries(ui_forms_test PRIVATE corvane_ui)
