# The version header every program includes (#include "VelkoraVersion.h").
# --version names the licence file where the installation puts it.
include(GNUInstallDirs)
# On Windows the installer puts it beside the programs.
if(WIN32)
  set(VELKORA_LICENSE_FILE "LICENSE.txt beside the program")
else()
  set(VELKORA_LICENSE_FILE ${CMAKE_INSTALL_FULL_DATADIR}/velkora/LICENSE)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/VelkoraVersion.h.in
               ${PROJECT_BINARY_DIR}/generated/VelkoraVersion.h @ONLY)
add_library(velkora_version INTERFACE)
target_include_directories(velkora_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
