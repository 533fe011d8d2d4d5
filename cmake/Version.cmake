# The version header every program includes (#include "VelkoraVersion.h").
configure_file(${CMAKE_CURRENT_LIST_DIR}/VelkoraVersion.h.in
               ${PROJECT_BINARY_DIR}/generated/VelkoraVersion.h @ONLY)
add_library(velkora_version INTERFACE)
target_include_directories(velkora_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
