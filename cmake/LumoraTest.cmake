# lumora_test(<name> SOURCES ... [LIBS ...] [LOCK <resource>] [TIMEOUT s] [ALONE])
# Builds a GoogleTest program and registers it with ctest; ctest runs it through Wine.
# Tests find the program folder through LUMORA_TEST_BIN_DIR (a Windows path) and the
# source tree through LUMORA_TEST_SRC_DIR.
# LOCK lumora_programs: the test runs lumora.exe, lumoraupd.exe or Uprelay.exe (or a
# stand-in under one of those names). Tests end such processes by name, and the
# finisher ends the updater by name, so no two of these tests run at once.
# ALONE: the test needs the keyboard focus to stay where it puts it, or moves the
# real mouse. There is one focus and one cursor per display, and any other test's
# window that shows takes the focus, so such a test runs with no other beside it.
string(REPLACE "/" "\\\\" LUMORA_BIN_DIR_WIN "Z:${LUMORA_BIN_DIR}")
string(REPLACE "/" "\\\\" LUMORA_SRC_DIR_WIN "Z:${CMAKE_SOURCE_DIR}")
string(REPLACE "/" "\\\\" LUMORA_BUILD_DIR_WIN "Z:${CMAKE_BINARY_DIR}")
set(LUMORA_TEST_DIR ${CMAKE_BINARY_DIR}/tests)

function(lumora_test name)
  cmake_parse_arguments(T "ALONE" "LOCK;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LUMORA_TEST_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} lumora_gtest_main lumora_gtest)
  target_compile_definitions(${name} PRIVATE
    "LUMORA_TEST_BIN_DIR=L\"${LUMORA_BIN_DIR_WIN}\""
    "LUMORA_TEST_SRC_DIR=L\"${LUMORA_SRC_DIR_WIN}\""
    "LUMORA_TEST_BUILD_DIR=L\"${LUMORA_BUILD_DIR_WIN}\"")
  target_link_options(${name} PRIVATE -mconsole)
  add_test(NAME ${name}
           COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/run_wine_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>
           WORKING_DIRECTORY ${LUMORA_TEST_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "WINEPREFIX=${LUMORA_WINEPREFIX};WINEDEBUG=-all;WINEDLLOVERRIDES=mshtml=")
  if(T_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCK}")
  endif()
  if(T_ALONE)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
