# Fails when PROGRAM needs a program interpreter or shared libraries, that is
# when it would not run on a machine without this build's libraries.
execute_process(COMMAND readelf -l -d ${PROGRAM} OUTPUT_VARIABLE info RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${PROGRAM}")
endif()
if(info MATCHES "INTERP" OR info MATCHES "\\(NEEDED\\)")
  message(FATAL_ERROR "${PROGRAM} is not statically linked:\n${info}")
endif()
file(SIZE ${PROGRAM} size)
message(STATUS "${PROGRAM}: ${size} bytes, static")
