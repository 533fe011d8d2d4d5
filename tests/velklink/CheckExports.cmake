# Fails unless the dynamic symbol table of LIBRARY defines exactly
# velkGetAffiliatePurchaseLink, unmangled, in version node VELKLINK_1.
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
if(NOT names STREQUAL "VELKLINK_1;velkGetAffiliatePurchaseLink@@VELKLINK_1")
  message(FATAL_ERROR "unexpected exports: ${names}")
endif()
message(STATUS "exports: ${names}")
