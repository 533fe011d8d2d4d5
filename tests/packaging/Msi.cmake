# The MSI packages: read back for both machine types; the x86_64 one
# installed, upgraded and removed under wine64 in the test run's prefix.
if(NOT TARGET velkora_msi)
  return()
endif()

# The package's version: three numbers, the third 0 when the project has two.
string(REGEX MATCHALL "[0-9]+" msi_numbers "${PROJECT_VERSION}.0.0")
list(SUBLIST msi_numbers 0 3 msi_numbers)
string(JOIN "." msi_version ${msi_numbers})
list(GET msi_numbers 2 patch)
math(EXPR patch "${patch} + 1")
list(SUBLIST msi_numbers 0 2 next_numbers)
string(JOIN "." msi_next_version ${next_numbers} ${patch})

# The images that the i686 programs carry from their own build.
set(embedded_i686 "${VELKORA_WINDOWS_I686_PROGRAMS_DIR}/setupstub/setupstub.exe ${VELKORA_WINDOWS_I686_PROGRAMS_DIR}/selfkit/win32/selfkit.exe")
foreach(arch i686 x86_64)
  string(TOUPPER ${arch} upper)
  add_test(NAME packaging_msi_${arch}
    COMMAND ${CMAKE_COMMAND} -E env VELKORA_MSI_VERSION=${msi_version}
            "VELKORA_MSI_EMBEDDED=${embedded_${arch}}"
            bash ${CMAKE_CURRENT_SOURCE_DIR}/msi.sh ${arch} ${PROJECT_BINARY_DIR}/velkora-${arch}.msi
            ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/sdk-${arch}
            ${VELKORA_WINDOWS_${upper}_DIR}/ui/win32/velkora.exe
            ${CMAKE_CURRENT_BINARY_DIR}/msi-${arch})
endforeach()

velkora_msi_arguments(next_arguments x86_64 ${msi_next_version} unused)
add_test(NAME windows_wine_msi
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/msi-wine.sh ${VELKORA_WINE_PREFIX}
          ${PROJECT_BINARY_DIR}/velkora-x86_64.msi ${PROJECT_VERSION} ${msi_version}
          ${msi_next_version}
          ${CMAKE_CURRENT_BINARY_DIR}/msi-wine -- ${next_arguments})
set_tests_properties(windows_wine_msi PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON)
