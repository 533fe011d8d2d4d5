# Velkora for Windows as MSI packages, one per machine type, written by wixl
# (msitools) into the build folder beside the .deb packages:
#   velkora-x86_64.msi, velkora-i686.msi
# and the SDK folders they carry, usable from the build tree:
#   sdk-x86_64/, sdk-i686/ (velklink.dll, velklink.h, velklink.def,
#   libvelklink.dll.a, README.txt)
# The normal build writes them when wixl is installed; `make package` asks for
# the target velkora_msi. velkora.exe is packaged, with its Start menu
# shortcut and the open verb of ".vkp" files, once the cross build makes it.

if(CMAKE_CROSSCOMPILING OR NOT VELKORA_BUILD_WINDOWS OR NOT TARGET velkora_windows_x86_64)
  return()
endif()
find_program(VELKORA_WIXL wixl)
if(NOT VELKORA_WIXL)
  message(STATUS "wixl is missing: no MSI packages (scripts/setup-deps installs it)")
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The programs of the packages: those of the cross builds, where velkora.exe
# lies once they make it (the i686 one after the x86_64 build, as it carries
# that build's launcher), except the i686 velkora-cli.exe. That one is built
# for the package in a folder of its own, windows-i686-programs/, linked whole
# (-flto-partition=one): GCC 12's link-time optimisation of it for i686 in
# several partitions stops with an internal compiler error. The launchers and
# velklink.dll of windows-i686/ stay as they are.
set(VELKORA_WINDOWS_I686_PROGRAMS_DIR ${CMAKE_BINARY_DIR}/windows-i686-programs)
include(ExternalProject)
ExternalProject_Add(velkora_windows_i686_programs
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${VELKORA_WINDOWS_I686_PROGRAMS_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-i686.cmake
             -DVELKORA_BUILD_TESTS=OFF -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON
             ${cross_args}
             # Beside the toolchain's static runtime, not in its place.
             -DCMAKE_EXE_LINKER_FLAGS_MINSIZEREL=-flto-partition=one
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel 2 --target velkora-cli
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  # One cross build at a time on small machines.
  DEPENDS velkora_windows_x86_64
  BUILD_BYPRODUCTS ${VELKORA_WINDOWS_I686_PROGRAMS_DIR}/cli/velkora-cli.exe)

# The icon of ".vkp" files and of the "Uninstall" entry, from the desktop icons.
set(VELKORA_MSI_ICON ${PROJECT_BINARY_DIR}/packaging/velkora.ico)
file(GLOB VELKORA_MSI_ICON_IMAGES ${PROJECT_SOURCE_DIR}/resources/desktop/icons/*/*.png)
add_custom_command(OUTPUT ${VELKORA_MSI_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/windows/make-icon.py
          ${VELKORA_MSI_ICON} ${VELKORA_MSI_ICON_IMAGES}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/make-icon.py ${VELKORA_MSI_ICON_IMAGES}
  COMMENT "Writing the Windows icon velkora.ico" VERBATIM)
add_custom_target(velkora_msi_icon DEPENDS ${VELKORA_MSI_ICON})

# The arguments of packaging/windows/build-msi.cmake for one machine type
# (the tests build a newer package with the same ones).
function(velkora_msi_arguments out arch version output)
  string(TOUPPER ${arch} upper)
  set(dir ${VELKORA_WINDOWS_${upper}_DIR})
  set(cli ${dir}/cli/velkora-cli.exe)
  if(arch STREQUAL "i686")
    set(cli ${VELKORA_WINDOWS_I686_PROGRAMS_DIR}/cli/velkora-cli.exe)
  endif()
  set(${out}
    -DARCH=${arch} -DVERSION=${version} -DOUTPUT=${output}
    -DWORK=${PROJECT_BINARY_DIR}/packaging/msi-${arch} -DSDK_DIR=${PROJECT_BINARY_DIR}/sdk-${arch}
    -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DWIXL=${VELKORA_WIXL} -DICON=${VELKORA_MSI_ICON}
    -DCLI_EXE=${cli} -DVELKLINK_DLL=${dir}/velklink/velklink.dll
    -DVELKLINK_IMPORT_LIB=${dir}/velklink/libvelklink.dll.a
    -DDESKTOP_EXE=${dir}/ui/win32/velkora.exe
    PARENT_SCOPE)
endfunction()

foreach(arch i686 x86_64)
  set(msi ${PROJECT_BINARY_DIR}/velkora-${arch}.msi)
  velkora_msi_arguments(arguments ${arch} ${PROJECT_VERSION} ${msi})
  # Run on every build, as the cross builds are; the script writes the
  # package only when an input changed.
  add_custom_target(velkora_msi_${arch}
    COMMAND ${CMAKE_COMMAND} ${arguments} -P ${PROJECT_SOURCE_DIR}/packaging/windows/build-msi.cmake
    BYPRODUCTS ${msi}
    COMMENT "Checking the MSI package velkora-${arch}.msi" VERBATIM)
  add_dependencies(velkora_msi_${arch} velkora_windows_x86_64 velkora_windows_i686_programs
                   velkora_msi_icon)
endforeach()
add_custom_target(velkora_msi ALL)
add_dependencies(velkora_msi velkora_msi_i686 velkora_msi_x86_64)
