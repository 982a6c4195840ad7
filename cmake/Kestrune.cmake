# Project-wide helpers.

# Our own code: warnings on, and none left.
function(kestrune_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
endfunction()

# How long one test process may run. Builds whose programs run under user-mode emulation
# (scripts/test.sh) raise it.
set(KESTRUNE_TEST_TIMEOUT 600 CACHE STRING "Seconds one test process may run")

# kestrune_add_test(NAME SOURCES... LIBS ...): a GoogleTest executable registered with ctest.
function(kestrune_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  kestrune_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${KESTRUNE_TEST_TIMEOUT})
endfunction()
