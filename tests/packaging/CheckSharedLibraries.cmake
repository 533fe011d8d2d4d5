# Fails when BINARY asks the machine it runs on for more than the C library's
# shared objects (plus the sonames in the list ALLOW), for a loader that is
# not the C library's, or for a symbol version of the C library newer than
# FLOOR (for example 2.35). What travels to end users' machines must load on
# every system with that C library, whatever else is installed there.
cmake_minimum_required(VERSION 3.19)
foreach(var BINARY FLOOR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckSharedLibraries.cmake needs -D${var}=...")
  endif()
endforeach()
# The C library's own shared objects (glibc): these come with every system.
set(c_library libc.so.6 libm.so.6 libpthread.so.0 libdl.so.2 librt.so.1 ld-linux-x86-64.so.2
              ld-linux.so.2 ld-linux-aarch64.so.1)
execute_process(COMMAND readelf -W -l -d -V ${BINARY} OUTPUT_VARIABLE info RESULT_VARIABLE rc
                ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${BINARY}: ${err}")
endif()
set(faults)

string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]*\\]" needed_lines "${info}")
set(needed)
foreach(line IN LISTS needed_lines)
  string(REGEX REPLACE ".*\\[(.*)\\]" "\\1" name "${line}")
  list(APPEND needed ${name})
  if(NOT name IN_LIST c_library AND NOT name IN_LIST ALLOW)
    list(APPEND faults "needs the shared library ${name}")
  endif()
endforeach()
if(NOT "libc.so.6" IN_LIST needed)
  list(APPEND faults "does not load the C library libc.so.6 (linked statically?)")
endif()

string(REGEX MATCH "Requesting program interpreter: ([^]\n]*)\\]" interp "${info}")
if(interp AND NOT CMAKE_MATCH_1 MATCHES "^/lib(64)?/ld-linux[-a-z0-9_]*\\.so\\.[12]$")
  list(APPEND faults "asks for the loader ${CMAKE_MATCH_1}")
endif()

# Version needs: "Name: GLIBC_2.34  Flags: ..." under .gnu.version_r.
string(REGEX MATCHALL "Name: GLIBC_[0-9.]+" versions "${info}")
set(newest 0)
foreach(entry IN LISTS versions)
  string(REGEX REPLACE "Name: GLIBC_" "" version "${entry}")
  if(version VERSION_GREATER newest)
    set(newest ${version})
  endif()
endforeach()
if(newest VERSION_GREATER FLOOR)
  execute_process(COMMAND readelf -W --dyn-syms ${BINARY} OUTPUT_VARIABLE symbols)
  string(REGEX MATCHALL "[A-Za-z0-9_]+@GLIBC_${newest}" culprits "${symbols}")
  list(REMOVE_DUPLICATES culprits)
  list(APPEND faults "needs glibc ${newest}, newer than ${FLOOR} (${culprits})")
endif()
foreach(runtime GLIBCXX_ CXXABI_ GCC_)
  if(info MATCHES "Name: ${runtime}")
    list(APPEND faults "needs a symbol version ${runtime}* of a shared C++ runtime")
  endif()
endforeach()

file(SIZE ${BINARY} size)
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "${BINARY} (${size} bytes):\n  ${text}")
endif()
list(JOIN needed " " needed_text)
message(STATUS "${BINARY}: ${size} bytes, glibc ${newest}, needs ${needed_text}")
