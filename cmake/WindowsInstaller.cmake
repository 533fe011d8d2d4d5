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

# The programs of the packages are those of the cross builds; velkora.exe and
# the i686 velkora-cli.exe are made by the x86_64 build's last step (the i686
# ones carry that build's launcher).

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
  add_dependencies(velkora_msi_${arch} velkora_windows_x86_64 velkora_msi_icon)
endforeach()
add_custom_target(velkora_msi ALL)
add_dependencies(velkora_msi velkora_msi_i686 velkora_msi_x86_64)
