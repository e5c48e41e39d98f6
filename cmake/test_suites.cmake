# CTest tests of a GoogleTest program, one per test suite, so that a suite's cases share one
# process (starting a test program with its QApplication costs more than most model tests).
# Programs whose cases wait on a simulated radio register one test per case instead, so that
# ctest can run their waits side by side.
#
#   n27_add_test_suites(<target> LABEL <label> [PER_CASE])
#
# Run as a script (cmake -P) after the program is built, it lists the program's tests and
# writes the CTest file that the build folder's CTestTestfile.cmake includes.

if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                          ${EXE} --gtest_list_tests
                  WORKING_DIRECTORY ${WORKDIR} OUTPUT_VARIABLE listing
                  RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${rc}):\n${listing}")
  endif()
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(names "")
  set(suite "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE " *#.*$" "" line "${line}")
    if(line MATCHES "^([^ ]+)\\.$")
      set(suite "${CMAKE_MATCH_1}")
      if(NOT PER_CASE AND NOT suite MATCHES "^DISABLED_")
        list(APPEND names "${suite}")
      endif()
    elseif(PER_CASE AND line MATCHES "^  ([^ ]+)$")
      set(case "${CMAKE_MATCH_1}")
      if(NOT suite MATCHES "^DISABLED_" AND NOT case MATCHES "^DISABLED_")
        list(APPEND names "${suite}.${case}")
      endif()
    endif()
  endforeach()
  set(out "")
  foreach(name IN LISTS names)
    if(PER_CASE)
      set(filter "${name}")
    else()
      set(filter "${name}.*")
    endif()
    string(APPEND out
      "add_test([==[${name}]==] [==[${EXE}]==] [==[--gtest_filter=${filter}]==])\n"
      "set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKDIR}]==]"
      " ENVIRONMENT QT_QPA_PLATFORM=offscreen LABELS ${LABEL}"
      # a filter that selects nothing is a registration fault, not a pass
      " FAIL_REGULAR_EXPRESSION [==[\\] 0 tests from]==])\n")
  endforeach()
  file(WRITE "${OUT}" "${out}")
  return()
endif()

function(n27_add_test_suites target)
  cmake_parse_arguments(arg "PER_CASE" "LABEL" "" ${ARGN})
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_tests.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:${target}> -D OUT=${ctest_file}
            -D WORKDIR=${CMAKE_BINARY_DIR} -D LABEL=${arg_LABEL} -D PER_CASE=${arg_PER_CASE}
            -P ${CMAKE_SOURCE_DIR}/cmake/test_suites.cmake
    BYPRODUCTS ${ctest_file} VERBATIM)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${ctest_file})
endfunction()
