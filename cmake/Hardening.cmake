# Hardening for every program and library of the build: stack protector,
# fortified libc calls, full RELRO (-z relro -z now) and position-independent
# executables. The launcher matters most: it travels inside every custom setup.
# Only for ELF targets built with GCC or Clang; Windows builds have their own.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
# _FORTIFY_SOURCE needs optimisation; some compilers define it already.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options("LINKER:-z,relro" "LINKER:-z,now")
