# Cross build for Windows on i686 with mingw-w64 (see mingw-common.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
