# `make package` (cpack): the Debian packages
#   velkora          the desktop program, guide, desktop integration (Qt)
#   velkora-cli      the command-line program, without Qt: enough for a build server
#   libvelklink1     the purchase-link library vendors' products load
#   libvelklink-dev  its header, .so link, pkg-config and CMake package files
# Each carries /usr/share/doc/<package>/copyright and changelog.Debian.gz.
include(GNUInstallDirs)

set(VELKORA_DEB_DIR ${PROJECT_SOURCE_DIR}/packaging/debian)
set(VELKORA_DEB_RELEASE 1)
set(VELKORA_DEB_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
# gzip -9n: the best compression and no time stamp, as Debian policy asks.
add_custom_command(OUTPUT ${VELKORA_DEB_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND gzip -9nc ${VELKORA_DEB_DIR}/changelog > ${VELKORA_DEB_CHANGELOG}
  DEPENDS ${VELKORA_DEB_DIR}/changelog VERBATIM)
add_custom_target(velkora_deb_changelog ALL DEPENDS ${VELKORA_DEB_CHANGELOG})

# Component -> package name.
set(VELKORA_DEB_PACKAGES velkora_desktop=velkora velkora_cli=velkora-cli velklink=libvelklink1
                         velklink_dev=libvelklink-dev)
foreach(pair IN LISTS VELKORA_DEB_PACKAGES)
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES ${VELKORA_DEB_DIR}/copyright ${VELKORA_DEB_CHANGELOG}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  # Lintian's warnings that do not apply, each with its reason.
  install(FILES ${VELKORA_DEB_DIR}/lintian/${package}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT ${component})
endforeach()

# The licence where --version points (cmake/Version.cmake), with the program
# that says so on a headless machine too.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/velkora
        COMPONENT velkora_cli)

# cpack and `cmake --install` package what was built; they do not start a build
# of their own (make package and make test build first).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkora)
set(CPACK_PACKAGE_VENDOR "The Velkora developers")
set(CPACK_PACKAGE_CONTACT "The Velkora developers <developers@velkora.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.velkora.example/")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELKORA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SOURCE velkora)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_COMPONENTS_ALL velkora_desktop velkora_cli velklink velklink_dev)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_COMPONENT_VELKORA_DESKTOP_GROUP velkora)
set(CPACK_COMPONENT_VELKORA_CLI_GROUP velkora-cli)
set(CPACK_COMPONENT_VELKLINK_GROUP libvelklink1)
set(CPACK_COMPONENT_VELKLINK_DEV_GROUP libvelklink-dev)
set(CPACK_COMPONENT_VELKLINK_DEV_DEPENDS velklink)

set(CPACK_DEBIAN_VELKORA_PACKAGE_NAME velkora)
set(CPACK_DEBIAN_VELKORA_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_VELKORA_PACKAGE_RECOMMENDS "xdg-utils")
# The desktop program's builds run the same engine; shlibdeps adds Qt.
set(CPACK_DEBIAN_VELKORA_PACKAGE_DEPENDS "velkora-cli (= ${PROJECT_VERSION}-${VELKORA_DEB_RELEASE})")
# No maintainer scripts: dpkg's triggers of shared-mime-info,
# desktop-file-utils and hicolor-icon-theme refresh the MIME, application and
# icon caches when files land in their folders.
set(CPACK_DEBIAN_VELKORA_DESCRIPTION
    "custom setup files for a product's affiliates (desktop program)\nVelkora lets a software vendor hand each affiliate a custom copy of the\nvendor's setup program carrying the affiliate's purchase link. This\npackage holds the desktop program velkora and the guide.")

set(CPACK_DEBIAN_VELKORA-CLI_PACKAGE_NAME velkora-cli)
set(CPACK_DEBIAN_VELKORA-CLI_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_VELKORA-CLI_DESCRIPTION
    "custom setup files for a product's affiliates (command line)\nVelkora lets a software vendor hand each affiliate a custom copy of the\nvendor's setup program carrying the affiliate's purchase link. This\npackage holds the command-line program velkora-cli, which needs no\ndesktop: enough for a build server or a release pipeline.")

set(CPACK_DEBIAN_LIBVELKLINK1_PACKAGE_NAME libvelklink1)
# Multi-Arch: same: the library of every architecture installs side by side
# (its files lie in the multiarch folder or are the same bytes for all). The
# DEB generator of CMake before 3.31 has no variable for the field, and it
# writes each field as one "Name: value" line, so it rides on the section's.
set(CPACK_DEBIAN_LIBVELKLINK1_PACKAGE_SECTION "libs\nMulti-Arch: same")
# The ldconfig trigger, and scripts that do nothing in place of the ones that
# would call ldconfig by hand.
set(CPACK_DEBIAN_LIBVELKLINK1_PACKAGE_CONTROL_EXTRA ${VELKORA_DEB_DIR}/libvelklink1/triggers
    ${VELKORA_DEB_DIR}/libvelklink1/postinst ${VELKORA_DEB_DIR}/libvelklink1/postrm)
# shlibs and the ldconfig trigger for the package that holds the library.
# ">=": a product built against 1.0-1 runs with any later libvelklink1 of the
# same SONAME, so a new Debian revision does not break what depends on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBVELKLINK1_DESCRIPTION
    "purchase link of a product's affiliate (library)\nThe library that a vendor's product loads to read the purchase link that\nthe affiliate's custom setup stored on the machine.")

set(CPACK_DEBIAN_LIBVELKLINK-DEV_PACKAGE_NAME libvelklink-dev)
set(CPACK_DEBIAN_LIBVELKLINK-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBVELKLINK-DEV_PACKAGE_DEPENDS "libvelklink1 (= ${PROJECT_VERSION}-${VELKORA_DEB_RELEASE})")
set(CPACK_DEBIAN_LIBVELKLINK-DEV_DESCRIPTION
    "purchase link of a product's affiliate (development files)\nThe header, pkg-config file and CMake package that vendors build their\nproducts with to read the affiliate's purchase link with libvelklink.")

include(CPack)

# The MSI packages for Windows, beside the .deb packages.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsInstaller.cmake)
