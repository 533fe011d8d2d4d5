# The Windows launchers (and velklink.dll, velkora-cli.exe), built by the
# mingw-w64 cross compilers in build folders of their own below this build
# (windows-i686/, windows-x86_64/), each once. Linux programs that write
# packages embed both launchers (velkora_embed_windows_launchers).
#
# Template ids of type "SFX_EXE":
#   129  the self creator
#   130  the launcher of the program's own system and machine type
#   131  the Windows launcher for 32-bit setups (i686, PE32)
#   132  the Windows launcher for 64-bit setups (x86_64, PE32+)
#   133  the Linux launcher (reserved: Linux programs carry it as 130)
#   134  the Windows self creator for 32-bit setups and installer databases
#        (selfkit.exe, i686, PE32)
#   135  the Windows self creator for 64-bit setups (selfkit.exe, x86_64, PE32+)
# Linux programs that write self creators embed both (velkora_embed_windows_selfkits)
# beside their own self creator (129).
# The Windows self creators as templates 134 (i686) and 135 (x86_64); the
# x86_64 Windows programs carry the i686 one too (their own is 129), for the
# affiliates of 32-bit setups.
function(velkora_embed_windows_selfkits target)
  velkora_embed_windows_pair(${target} "${VELKORA_WIN32_SELFKIT}" "${VELKORA_WIN64_SELFKIT}"
                             "${VELKORA_I686_SELFKIT}" 134 135)
endfunction()

option(VELKORA_BUILD_WINDOWS "Build the Windows launchers, velklink.dll and velkora-cli.exe" ON)

if(CMAKE_CROSSCOMPILING OR NOT VELKORA_BUILD_WINDOWS)
  return()
endif()

include(ExternalProject)

foreach(arch i686 x86_64)
  find_program(VELKORA_MINGW_${arch} ${arch}-w64-mingw32-g++-posix)
  if(NOT VELKORA_MINGW_${arch})
    string(REPLACE "_" "-" package_arch ${arch})
    message(FATAL_ERROR
      "The Windows cross compiler ${arch}-w64-mingw32-g++-posix is missing: install "
      "g++-mingw-w64-${package_arch}-posix (scripts/setup-deps installs every dependency), "
      "or configure with -DVELKORA_BUILD_WINDOWS=OFF to build for Linux alone.")
  endif()
endforeach()

set(VELKORA_WINDOWS_I686_DIR ${CMAKE_BINARY_DIR}/windows-i686)
set(VELKORA_WINDOWS_X86_64_DIR ${CMAKE_BINARY_DIR}/windows-x86_64)
set(VELKORA_WIN32_LAUNCHER ${VELKORA_WINDOWS_I686_DIR}/setupstub/setupstub.exe)
set(VELKORA_WIN64_LAUNCHER ${VELKORA_WINDOWS_X86_64_DIR}/setupstub/setupstub.exe)
set(VELKORA_WIN32_SELFKIT ${VELKORA_WINDOWS_I686_DIR}/selfkit/win32/selfkit.exe)
set(VELKORA_WIN64_SELFKIT ${VELKORA_WINDOWS_X86_64_DIR}/selfkit/win32/selfkit.exe)
# The desktop program for Windows, one per machine type; each carries the
# other machine type's launcher and self creator too.
set(VELKORA_WIN32_DESKTOP ${VELKORA_WINDOWS_I686_DIR}/ui/win32/velkora.exe)
set(VELKORA_WIN64_DESKTOP ${VELKORA_WINDOWS_X86_64_DIR}/ui/win32/velkora.exe)
# The wine prefix of a test run, made by the tests (tests/windows).
set(VELKORA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)

set(cross_args
  -DVELKORA_BUILD_GUI=OFF
  -DCMAKE_BUILD_TYPE=MinSizeRel
  -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
  -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})

# Each cross build runs its own incremental build every time, so a changed
# source reaches the embedded images; an unchanged tree costs a second.
ExternalProject_Add(velkora_windows_i686
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${VELKORA_WINDOWS_I686_DIR}
  # Link-time optimisation keeps the 32-bit launcher small (about 260 KB; it
  # travels inside every custom setup); this build makes nothing larger.
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-i686.cmake
             -DVELKORA_BUILD_TESTS=OFF -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON
             -DVELKORA_X86_64_LAUNCHER=${VELKORA_WIN64_LAUNCHER}
             -DVELKORA_X86_64_SELFKIT=${VELKORA_WIN64_SELFKIT}
             ${cross_args}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2 --target setupstub velklink selfkit
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${VELKORA_WIN32_LAUNCHER} ${VELKORA_WINDOWS_I686_DIR}/velklink/velklink.dll
                   ${VELKORA_WIN32_SELFKIT})

ExternalProject_Add(velkora_windows_x86_64
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${VELKORA_WINDOWS_X86_64_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-x86_64.cmake
             -DVELKORA_BUILD_TESTS=${VELKORA_BUILD_TESTS} -DVELKORA_WINE_PREFIX=${VELKORA_WINE_PREFIX}
             -DVELKORA_I686_LAUNCHER=${VELKORA_WIN32_LAUNCHER}
             -DVELKORA_I686_SELFKIT=${VELKORA_WIN32_SELFKIT}
             ${cross_args}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2 --target setupstub velklink velkora-cli selfkit
                velkora
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  DEPENDS velkora_windows_i686
  BUILD_BYPRODUCTS ${VELKORA_WIN64_LAUNCHER} ${VELKORA_WINDOWS_X86_64_DIR}/velklink/velklink.dll
                   ${VELKORA_WINDOWS_X86_64_DIR}/cli/velkora-cli.exe ${VELKORA_WIN64_SELFKIT}
                   ${VELKORA_WIN64_DESKTOP})

# The i686 velkora.exe needs the x86_64 images, so it is built once both
# builds have made theirs; the i686 velkora-cli.exe (for the MSI package) is
# built with it, in the same folder, so no library is compiled twice.
ExternalProject_Add_Step(velkora_windows_x86_64 i686_desktop
  COMMAND ${CMAKE_COMMAND} --build ${VELKORA_WINDOWS_I686_DIR} --parallel 2 --target velkora
          velkora-cli
  DEPENDEES build
  BYPRODUCTS ${VELKORA_WIN32_DESKTOP} ${VELKORA_WINDOWS_I686_DIR}/cli/velkora-cli.exe
  ALWAYS ON)

# The core test suites for Windows, built once here; the tests of this build
# run them under wine64 (windows_core_suites).
if(VELKORA_BUILD_TESTS)
  ExternalProject_Add_Step(velkora_windows_x86_64 test_programs
    COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2 --target velkora_test_programs
    DEPENDEES build
    ALWAYS ON)
  set(VELKORA_WINDOWS_TEST_SUITES ${VELKORA_WINDOWS_X86_64_DIR})
endif()

add_custom_target(windows DEPENDS velkora_windows_i686 velkora_windows_x86_64)

# `make screenshots` also renders velkora.exe's windows under wine64 on a
# virtual X server, in a wine prefix of its own (made once).
add_custom_target(screenshots_win32
  COMMAND ${PROJECT_SOURCE_DIR}/ui/win32/screenshots/render.sh ${CMAKE_BINARY_DIR}/wine-prefix-shots
          ${VELKORA_WIN64_DESKTOP} ${PROJECT_SOURCE_DIR}/examples/Example.vkp
          ${CMAKE_BINARY_DIR}/screenshots
  COMMENT "Rendering velkora.exe's windows to ${CMAKE_BINARY_DIR}/screenshots"
  VERBATIM)
add_dependencies(screenshots_win32 velkora_windows_x86_64)
set_property(GLOBAL APPEND PROPERTY VELKORA_SCREENSHOT_TARGETS screenshots_win32)
