# SPDX-License-Identifier: MIT
# Binary package: `cpack -G DEB` in the build directory makes
# tessix_<version>_<arch>.deb (no Debian revision: the package is built
# straight from the project's own tree). The runtime dependencies (Qt 6,
# SDL2, the C++ runtime) are worked out by dpkg-shlibdeps from the
# installed executable, so dpkg-dev must be present when packaging.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessix)
set(CPACK_PACKAGE_VENDOR "The Tessix developers")
# The project's four-part version; CPack's own default would drop the
# fourth part.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tessix developers <tessix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "game of judging areas and balance by eye")
# Lines are kept under 80 columns; CPack indents them for the control file.
set(CPACK_PACKAGE_DESCRIPTION
"Tessix Application is a single-player game that tests how well the player
judges areas and balance by eye. It sets four problems, each presented
five times, and keeps a running score:
 - which is bigger, a blue triangle or a red circle;
 - grow a circle until it matches a triangle;
 - find a polygon's centre of area among red dots;
 - reshape a blue octagon until it matches an orange cross.
Version text D613.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its SVG image and icon plugins at run time, which dpkg-shlibdeps
# cannot see; the icons embedded in the program are SVG.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Debian wants the licence as /usr/share/doc/<package>/copyright, in the
# machine-readable copyright format; it is made from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _tessix_license)
string(STRIP "${_tessix_license}" _tessix_license)
string(REGEX REPLACE "\n\n" "\n.\n" _tessix_license "${_tessix_license}")
string(REGEX REPLACE "\n" "\n " _tessix_license "${_tessix_license}")
file(WRITE ${PROJECT_BINARY_DIR}/packaging/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: tessix

Files: *
Copyright: 2026 The Tessix developers
License: MIT
 ${_tessix_license}
")
unset(_tessix_license)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# `cpack --config CPackSourceConfig.cmake` (target package_source) packs the
# source tree: leave out what git ignores or keeps for itself.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES
  "/\\.git/" "/\\.cache/" "/build[^/]*/" "/out/" "\\.user$"
  "/compile_commands\\.json$" "/docs/[^/]*\\.json$")

include(CPack)
