# cmake -DOBJDUMP=... -DBINARY=... -DEXPECTED=... -P CheckExports.cmake
# The expected file lists "ordinal name" per line; the DLL must export exactly these.
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${BINARY}")
endif()
message(STATUS "${dump}")
