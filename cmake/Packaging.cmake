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
set(CPACK_PACKAGE_CONTACT "The Tessix developers <developers@tessix.github.io>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tessix.github.io/")
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
# The faces the program maps its fonts to (Arial, Courier New and MS Sans
# Serif to Liberation Sans and Mono); dpkg-shlibdeps adds the libraries.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-liberation2")
# Qt loads its plugins at run time, which dpkg-shlibdeps cannot see: the SVG
# image and icon plugins (the icons embedded in the program are SVG), and the
# Wayland platform, without which Qt falls back to XWayland on a Wayland session.
# RealtimeKit lets a desktop user's game raise the thread that feeds its sound.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, qt6-wayland, rtkit")
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

# The Debian changelog and the manual page tessix(6), compressed as Debian
# keeps them. The manual page is made by help2man from the program's own
# --help and --version, with packaging/tessix.h2m adding the description.
set(_tessix_pkg ${PROJECT_BINARY_DIR}/packaging)
find_program(TESSIX_GZIP gzip REQUIRED)
find_program(TESSIX_HELP2MAN help2man)
add_custom_command(OUTPUT ${_tessix_pkg}/changelog.gz
  COMMAND ${TESSIX_GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_tessix_pkg}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
set(_tessix_docs ${_tessix_pkg}/changelog.gz)
if(TESSIX_HELP2MAN)
  # The manual's date is the changelog's, so that a rebuild gives the same page.
  file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog _tessix_signoff REGEX "^ -- ")
  list(GET _tessix_signoff 0 _tessix_signoff)
  string(REGEX REPLACE ".*  [A-Za-z]+, ([0-9]+) ([A-Za-z]+) ([0-9]+) .*" "\\2 \\3"
    _tessix_man_date "${_tessix_signoff}")
  add_custom_command(OUTPUT ${_tessix_pkg}/tessix.6.gz
    COMMAND sh ${PROJECT_SOURCE_DIR}/packaging/make-manpage.sh $<TARGET_FILE:tessix>
      ${PROJECT_SOURCE_DIR}/packaging/tessix.h2m "${_tessix_man_date}" ${_tessix_pkg}/tessix.6
    COMMAND ${TESSIX_GZIP} -9nf ${_tessix_pkg}/tessix.6
    DEPENDS tessix ${PROJECT_SOURCE_DIR}/packaging/tessix.h2m
      ${PROJECT_SOURCE_DIR}/packaging/make-manpage.sh VERBATIM)
  list(APPEND _tessix_docs ${_tessix_pkg}/tessix.6.gz)
  install(FILES ${_tessix_pkg}/tessix.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  message(WARNING "help2man not found: the package will lack its manual page")
endif()
add_custom_target(tessix_package_docs ALL DEPENDS ${_tessix_docs})
install(FILES ${_tessix_pkg}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
unset(_tessix_docs)
unset(_tessix_pkg)

# `cpack --config CPackSourceConfig.cmake` (target package_source) packs the
# source tree: leave out what git ignores or keeps for itself.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES
  "/\\.git/" "/\\.cache/" "/build[^/]*/" "/out/" "\\.user$"
  "/compile_commands\\.json$" "/docs/[^/]*\\.json$")

include(CPack)
