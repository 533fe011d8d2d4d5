# Cross build for Windows with mingw-w64 (posix thread model), shared by the
# toolchain files of both machine types; each sets CMAKE_SYSTEM_PROCESSOR
# (i686 or x86_64) before it includes this file.
# The runtime is linked statically: the programs need no libstdc++, libgcc
# or libwinpthread DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(VELKORA_MINGW_PREFIX ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
string(REPLACE "_" "-" VELKORA_MINGW_PACKAGE_ARCH ${CMAKE_SYSTEM_PROCESSOR})

find_program(CMAKE_C_COMPILER ${VELKORA_MINGW_PREFIX}-gcc-posix)
find_program(CMAKE_CXX_COMPILER ${VELKORA_MINGW_PREFIX}-g++-posix)
find_program(CMAKE_RC_COMPILER ${VELKORA_MINGW_PREFIX}-windres)
if(NOT CMAKE_CXX_COMPILER OR NOT CMAKE_RC_COMPILER)
  message(FATAL_ERROR "The Windows cross compiler ${VELKORA_MINGW_PREFIX}-g++-posix was not found. "
                      "Install g++-mingw-w64-${VELKORA_MINGW_PACKAGE_ARCH}-posix (scripts/setup-deps does).")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${VELKORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
