# Writes Velkora's SDK folder and MSI package for one Windows machine type:
#
#   cmake -DARCH=x86_64|i686 -DVERSION=1.0 -DOUTPUT=velkora-x86_64.msi
#         -DWORK=<folder for the generated sources> -DSDK_DIR=<SDK folder>
#         -DSOURCE_DIR=<project sources> -DWIXL=<wixl> -DICON=<velkora.ico>
#         -DCLI_EXE=... -DVELKLINK_DLL=... -DVELKLINK_IMPORT_LIB=...
#         [-DDESKTOP_EXE=<velkora.exe, packaged when it exists>]
#         -P build-msi.cmake
#
# The MSI is written again only when an input is newer or the inputs changed
# (the build runs this every time, since the cross builds always run).
cmake_minimum_required(VERSION 3.19)

foreach(var ARCH VERSION OUTPUT WORK SDK_DIR SOURCE_DIR WIXL ICON CLI_EXE VELKLINK_DLL
            VELKLINK_IMPORT_LIB)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "build-msi.cmake: ${var} is not given")
  endif()
endforeach()

set(packaging ${SOURCE_DIR}/packaging/windows)
if(ARCH STREQUAL "x86_64")
  set(wixl_arch x64)
  set(VELKORA_SDK_BITS "64-bit (x86_64)")
  set(VELKORA_SDK_OTHER_BITS "32-bit")
  set(VELKORA_SDK_OTHER_PACKAGE "i686")
  set(VELKORA_SDK_LIB_MACHINE x64)
elseif(ARCH STREQUAL "i686")
  set(wixl_arch x86)
  set(VELKORA_SDK_BITS "32-bit (i686)")
  set(VELKORA_SDK_OTHER_BITS "64-bit")
  set(VELKORA_SDK_OTHER_PACKAGE "x86_64")
  set(VELKORA_SDK_LIB_MACHINE x86)
else()
  message(FATAL_ERROR "build-msi.cmake: ARCH is ${ARCH}, not x86_64 or i686")
endif()
set(VELKORA_SDK_MACHINE ${ARCH})
set(VELKORA_SDK_GCC ${ARCH}-w64-mingw32-gcc)
set(VELKORA_VERSION ${VERSION})

# An MSI version has three numbers; the third defaults to 0.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)(\\.([0-9]+))?$")
  message(FATAL_ERROR "build-msi.cmake: version ${VERSION} is not N.N or N.N.N")
endif()
set(msi_version ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.0)
if(CMAKE_MATCH_4)
  set(msi_version ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_4})
endif()
# One upgrade code for every version and both machine types: a machine holds
# one Velkora, and installing a newer build replaces it. One product code per
# version and machine type, the same in every build of them.
set(upgrade_code 7E3A91C4-58D2-4B0F-A6E1-2C9D4F80B357)
string(UUID product_code NAMESPACE ${upgrade_code}
       NAME "velkora ${ARCH} ${msi_version}" TYPE SHA1 UPPER)

# The SDK folder, usable as it is from the build tree.
file(MAKE_DIRECTORY ${SDK_DIR} ${WORK})
file(COPY ${VELKLINK_DLL} ${VELKLINK_IMPORT_LIB} ${SOURCE_DIR}/velklink/velklink.h
          ${SOURCE_DIR}/velklink/velklink.def DESTINATION ${SDK_DIR})
configure_file(${packaging}/sdk-README.txt ${SDK_DIR}/README.txt @ONLY NEWLINE_STYLE WIN32)

# The guide beside the programs, where velkora.exe looks for it.
file(GLOB guide_files ${SOURCE_DIR}/resources/help/*.html ${SOURCE_DIR}/docs/images/*.png)
list(SORT guide_files)
set(guide_components)
set(guide_refs)
foreach(file IN LISTS guide_files)
  get_filename_component(name ${file} NAME)
  file(RELATIVE_PATH source ${WORK} ${file})
  string(MAKE_C_IDENTIFIER "Guide_${name}" id)
  string(APPEND guide_components
         "      <Component Id=\"${id}\" Guid=\"*\" Win64=\"$(var.Win64)\">\n"
         "        <File Id=\"${id}\" Source=\"${source}\" Name=\"${name}\" KeyPath=\"yes\"/>\n"
         "      </Component>\n")
  string(APPEND guide_refs "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()
file(CONFIGURE OUTPUT ${WORK}/guide.wxs @ONLY CONTENT [=[<?xml version="1.0" encoding="utf-8"?>
<?if $(var.Arch) = x86_64 ?>
  <?define Win64 = yes ?>
<?else?>
  <?define Win64 = no ?>
<?endif?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Fragment>
    <DirectoryRef Id="INSTALLDIR">
@guide_components@    </DirectoryRef>
    <ComponentGroup Id="Guide">
@guide_refs@    </ComponentGroup>
  </Fragment>
</Wix>
]=])

set(desktop "")
if(DEFINED DESKTOP_EXE AND EXISTS "${DESKTOP_EXE}")
  set(desktop ${DESKTOP_EXE})
endif()
# wixl takes a source file's path relative to the .wxs file that names it:
# both sources lie in WORK.
configure_file(${packaging}/velkora.wxs ${WORK}/velkora.wxs COPYONLY)
function(relative_to_work out path)
  if(NOT path STREQUAL "")
    file(RELATIVE_PATH path ${WORK} ${path})
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
relative_to_work(cli ${CLI_EXE})
relative_to_work(desktop_source "${desktop}")
relative_to_work(icon ${ICON})
relative_to_work(license ${SOURCE_DIR}/LICENSE)
relative_to_work(sdk ${SDK_DIR})
set(defines
  -D Arch=${ARCH} -D Version=${msi_version} -D UpgradeCode=${upgrade_code}
  -D ProductCode=${product_code} -D CliExe=${cli} -D DesktopExe=${desktop_source}
  -D Icon=${icon} -D License=${license} -D SdkDir=${sdk})
set(inputs ${WORK}/velkora.wxs ${WORK}/guide.wxs ${CLI_EXE} ${ICON} ${SOURCE_DIR}/LICENSE
           ${guide_files} ${desktop})
file(GLOB sdk_files ${SDK_DIR}/*)
list(APPEND inputs ${sdk_files})

# Up to date: the same inputs as last time, none newer than the package.
set(record ${OUTPUT}.inputs)
string(JOIN "\n" signature ${defines} ${inputs})
if(EXISTS ${OUTPUT} AND EXISTS ${record})
  file(READ ${record} previous)
  if(previous STREQUAL signature)
    set(stale OFF)
    foreach(input IN LISTS inputs)
      if(${input} IS_NEWER_THAN ${OUTPUT})
        set(stale ON)
      endif()
    endforeach()
    if(NOT stale)
      return()
    endif()
  endif()
endif()

file(REMOVE ${record})
execute_process(
  COMMAND ${WIXL} -a ${wixl_arch} ${defines} -o ${OUTPUT}.part ${WORK}/velkora.wxs ${WORK}/guide.wxs
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
# wixl warns on stderr about elements it ignores; a failure leaves no package.
if(NOT status EQUAL 0 OR NOT EXISTS ${OUTPUT}.part)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "wixl could not write ${OUTPUT} (${status}):\n${log}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
file(WRITE ${record} "${signature}")
if(desktop STREQUAL "")
  message(STATUS "Wrote ${OUTPUT} (${msi_version}; without velkora.exe, which is not built)")
else()
  message(STATUS "Wrote ${OUTPUT} (${msi_version})")
endif()
