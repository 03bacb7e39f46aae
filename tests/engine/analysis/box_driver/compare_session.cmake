# Runs the box driver on one scripted session and compares its standard output
# with the expected transcript, and its exit status with EXPECTED_STATUS.
execute_process(
  COMMAND ${DRIVER}
  INPUT_FILE ${INPUT}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL EXPECTED_STATUS)
  message(FATAL_ERROR "box_driver exited with ${status}, expected ${EXPECTED_STATUS}: ${errors}")
endif()
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual.out "${actual}")
  message(FATAL_ERROR "box_driver printed something else; see ${CMAKE_CURRENT_BINARY_DIR}/actual.out\n${actual}")
endif()
if(EXPECTED_STATUS EQUAL 2 AND NOT errors MATCHES "line [0-9]+")
  message(FATAL_ERROR "a malformed line was not reported with its line number: ${errors}")
endif()
message(STATUS "${errors}")
