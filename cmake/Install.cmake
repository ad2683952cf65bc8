# Install rules and Debian packaging for tirpo-clock.
#
# Included from the top-level CMakeLists.txt once the tirpo-clock target and
# the icon rendering exist. Installs:
#   bin/tirpo-clock
#   share/applications/<app id>.desktop
#   share/metainfo/<app id>.metainfo.xml
#   share/icons/hicolor/<N>x<N>/apps/tirpo-clock.png and scalable/apps/tirpo-clock.svg
#   share/man/man1/tirpo-clock.1.gz
#   share/doc/tirpo-clock/copyright and changelog.gz
# and configures CPack so that `cpack -G DEB` in the build directory produces
# tirpo-clock_<version>_<arch>.deb.

include_guard(GLOBAL)
include(GNUInstallDirs)

# Reverse-DNS application id: names the desktop entry and the AppStream file.
set(TIRPO_CLOCK_APP_ID "jp.rupeska.TirpoClock")
# Icon theme name used by the desktop entry and by the rendered icon files.
set(TIRPO_CLOCK_ICON_NAME "tirpo-clock")

set(_tirpo_dist_dir "${PROJECT_SOURCE_DIR}/dist")

# The program links only system libraries from the default search path, so
# the installed binary carries no RPATH (Debian policy forbids one pointing at
# system folders).
set_target_properties(tirpo-clock PROPERTIES INSTALL_RPATH "")
install(TARGETS tirpo-clock
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(FILES "${_tirpo_dist_dir}/${TIRPO_CLOCK_APP_ID}.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")

install(FILES "${_tirpo_dist_dir}/${TIRPO_CLOCK_APP_ID}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The icons are rendered during the build. Only the application's own icon
# files are taken from the tree, so stray build by-products never end up in
# the shared hicolor theme (whose index.theme belongs to hicolor-icon-theme).
install(DIRECTORY "${CMAKE_BINARY_DIR}/icons/hicolor"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons"
    FILES_MATCHING
        PATTERN "${TIRPO_CLOCK_ICON_NAME}.png"
        PATTERN "${TIRPO_CLOCK_ICON_NAME}.svg")

# A packaged binary keeps no compiler notes: after the plain strip that
# `cmake --install --strip` and CPack do, the .comment and .note sections go
# as well, as Debian's own packaging tools leave them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(
      COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note --strip-unneeded
              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tirpo-clock\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# --- Debian package -------------------------------------------------------

# Who answers for the package: "Name <address>". Set it when configuring,
# e.g. -DTIRPO_CLOCK_DEB_MAINTAINER="山田花子 <hanako@example.org>".
set(_tirpo_maintainer_help "Maintainer field of the Debian package (\"Name <address>\")")
set(TIRPO_CLOCK_DEB_MAINTAINER "RUPESKA工房 <tirpo-clock@rupeska.jp>"
    CACHE STRING "${_tirpo_maintainer_help}")
# Build trees configured before the field had an address keep the old value.
if(TIRPO_CLOCK_DEB_MAINTAINER STREQUAL "RUPESKA工房")
  set(TIRPO_CLOCK_DEB_MAINTAINER "RUPESKA工房 <tirpo-clock@rupeska.jp>"
      CACHE STRING "${_tirpo_maintainer_help}" FORCE)
endif()
if(NOT TIRPO_CLOCK_DEB_MAINTAINER MATCHES "^[^<>@]*[^<>@ ] <[^<>@ ]+@[^<>@ ]+\\.[^<>@ ]+>$")
  message(FATAL_ERROR "TIRPO_CLOCK_DEB_MAINTAINER must read \"Name <address>\", "
                      "not \"${TIRPO_CLOCK_DEB_MAINTAINER}\"")
endif()

# The package's documents: the licence in Debian's machine-readable form, the
# changelog and the manual page, the last two compressed as Debian wants them
# (gzip -9n: no name or time stamp inside, so the same input gives the same
# bytes).
set(_tirpo_doc_dir "${CMAKE_BINARY_DIR}/dist")
configure_file("${_tirpo_dist_dir}/copyright.in" "${_tirpo_doc_dir}/copyright" @ONLY)
configure_file("${_tirpo_dist_dir}/changelog.in" "${_tirpo_doc_dir}/changelog" @ONLY)
find_program(TIRPO_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT "${_tirpo_doc_dir}/changelog.gz" "${_tirpo_doc_dir}/tirpo-clock.1.gz"
  COMMAND "${TIRPO_GZIP}" -9n -c "${_tirpo_doc_dir}/changelog" > "${_tirpo_doc_dir}/changelog.gz"
  COMMAND "${TIRPO_GZIP}" -9n -c "${_tirpo_dist_dir}/tirpo-clock.1" > "${_tirpo_doc_dir}/tirpo-clock.1.gz"
  DEPENDS "${_tirpo_doc_dir}/changelog" "${_tirpo_dist_dir}/tirpo-clock.1"
  COMMENT "Compressing the changelog and the manual page"
  VERBATIM)
add_custom_target(tirpo_clock_docs ALL
  DEPENDS "${_tirpo_doc_dir}/changelog.gz" "${_tirpo_doc_dir}/tirpo-clock.1.gz")

install(FILES "${_tirpo_doc_dir}/tirpo-clock.1.gz"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_tirpo_doc_dir}/copyright" "${_tirpo_doc_dir}/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DOCDIR}")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tirpo-clock")
set(CPACK_PACKAGE_VENDOR "RUPESKA工房")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "analog clock for children learning to tell the time")
set(CPACK_PACKAGE_DESCRIPTION
    "tirpoアナログ時計 shows a large analog clock face with hour and minute
numerals so that children can practise reading the time. It follows the
system time, or the time is moved by hand: a left click on the face moves it
forward and a right click moves it back, by a chosen step of minutes or
continuously. The interface is in Japanese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "tirpo-clock")
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TIRPO_CLOCK_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Library dependencies are computed by dpkg-shlibdeps (package dpkg-dev) and
# appended to the ones listed here. The Japanese interface needs a font with
# Japanese glyphs at run time, which no library link reveals.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# Without it the window opens only through X (Xwayland on a Wayland desktop).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Control files with the permissions dpkg and lintian expect.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

# Source archives (`cpack --config CPackSourceConfig.cmake`) leave out version
# control data and build trees.
set(CPACK_SOURCE_GENERATOR "TXZ")
set(CPACK_SOURCE_PACKAGE_FILE_NAME "tirpo-clock-${PROJECT_VERSION}")
set(CPACK_SOURCE_IGNORE_FILES
    "/\\\\.git/"
    "/\\\\.git$"
    "/build/")

include(CPack)
