# Developer targets: "format" applies clang-format to every C++ file git tracks, "tidy" runs
# clang-tidy with the project's checks (.clang-tidy) over the program's compiled files.
find_program(CORVANE_CLANG_FORMAT NAMES clang-format clang-format-14)
if(CORVANE_CLANG_FORMAT)
  add_custom_target(format
    COMMAND sh -c "git ls-files -z '*.cpp' '*.h' | xargs -0 '${CORVANE_CLANG_FORMAT}' -i --style=file"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-format on every source file" VERBATIM)
else()
  add_custom_target(format COMMAND ${CMAKE_COMMAND} -E echo "clang-format is not installed" VERBATIM)
endif()

find_program(CORVANE_CLANG_TIDY NAMES run-clang-tidy run-clang-tidy-14)
if(CORVANE_CLANG_TIDY)
  add_custom_target(tidy
    COMMAND ${CORVANE_CLANG_TIDY} -quiet -p ${PROJECT_BINARY_DIR}
            "^${PROJECT_SOURCE_DIR}/(app|cli|codepage|document|editor|shell|ui)/"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-tidy over the program's sources" VERBATIM)
else()
  add_custom_target(tidy COMMAND ${CMAKE_COMMAND} -E echo "clang-tidy is not installed" VERBATIM)
endif()
