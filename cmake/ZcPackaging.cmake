# The Debian package of the program, its data, desktop files and tools:
#   cpack -G DEB --config build/<preset>/CPackConfig.cmake
# The components' libraries (install component "libraries") stay out of it. Installed with
# prefix /usr; dependencies come from the binaries (dpkg-shlibdeps, in dpkg-dev) plus what the
# program starts or reads at run time. ZcDebianStaging.cmake adds what Debian policy wants
# and a plain install does not have: the copyright file, a gzipped changelog, gzipped
# manual pages.
set(CPACK_PACKAGE_NAME zelvoria-colortest)
set(CPACK_PACKAGE_VENDOR "Zelvoria")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelvoria Color Test maintainers <maintainers@zelvoria.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gemstone colour test with a spinning ring of colours")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

# One package from the components that make up the product: everything installed without a
# component name ("Unspecified").
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_PACKAGE_NAME ${CPACK_PACKAGE_NAME})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zelvoria-colortest_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# The long description; cpack puts the summary above it, indents its lines and marks the empty
# line between paragraphs as control files want.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "The user accepts an agreement, picks one of five interface languages and
chooses among ten gem colours shown as the sectors of a spinning ring. Each
choice looks the gem's remedies up in a Firebird database and shows them as
rich text, from which an RTF printout is made.

Also contains the command-line tools rtfreport (fills an RTF report
template), rtftext (plain text of an RTF file) and fillrender (draws a
gradient fill to a picture).")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the linked libraries: the embedded database engine the client library loads, the
# desktop's "open" for the printout, the Tahoma the program registers from
# /usr/share/wine/fonts, and Qt's SVG image-format plugin, which reads the pictures of the
# windows and buttons (plugins are loaded at run time, so dpkg-shlibdeps does not see it).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "firebird3.0-server-core, xdg-utils, fonts-wine, libqt6svg6")

set(ZC_DEBIAN_COPYRIGHT ${CMAKE_CURRENT_LIST_DIR}/debian/copyright)
set(ZC_DEBIAN_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/debian/changelog)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/ZcDebianStaging.cmake)
# Read by ZcDebianStaging.cmake when cpack runs.
set(CPACK_ZC_DEBIAN_COPYRIGHT ${ZC_DEBIAN_COPYRIGHT})
set(CPACK_ZC_DEBIAN_CHANGELOG ${ZC_DEBIAN_CHANGELOG})

include(CPack)
