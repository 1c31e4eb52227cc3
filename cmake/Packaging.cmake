# Install rules and packages.
#
# Elsewhere than on Windows the files go where GNUInstallDirs says, and
# `cpack -G DEB` builds a Debian package of them:
#   bin/tallyhawk, bin/zonegen
#   share/man/man1/tallyhawk.1(.gz)
#   share/tallyhawk/tallyhawk.ini          example settings, every output on
#   share/tallyhawk/tallyhawk.css          the style sheet for the pages
#   share/tallyhawk/systemd/tallyhawk.{service,timer}   example units
#   share/tallyhawk/schema/{stats,usage}.schema.json   the JSON files' schemas
# On Windows everything lies in one folder, packed by `cpack` (ZIP) as
# tallyhawk-<version>-win64.zip: tallyhawk.exe, zonegen.exe, tallyhawk.ini,
# tallyhawk.css, README-windows.txt and schema\.

set(CPACK_PACKAGE_NAME tallyhawk)
set(CPACK_PACKAGE_VENDOR Tallyhawk)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "score extractor for Voidrift zone servers")
set(CPACK_PACKAGE_DESCRIPTION
    "Tallyhawk reads the user, squad and score databases of a Voidrift zone
server, ranks pilots and squads in top lists for every score ID and writes
them, with zone-wide usage figures, as HTML pages and text files. It runs
unattended from cron or a systemd timer.")
set(TALLYHAWK_PACKAGE_CONTACT "Tallyhawk maintainers <maintainers@tallyhawk.invalid>"
    CACHE STRING "Maintainer named in the packages")
set(CPACK_PACKAGE_CONTACT "${TALLYHAWK_PACKAGE_CONTACT}")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS tallyhawk zonegen RUNTIME DESTINATION .)
  # Windows admins open these in Notepad: CR LF line ends, and the version.
  configure_file(dist/tallyhawk.ini ${CMAKE_BINARY_DIR}/dist/tallyhawk.ini
                 @ONLY NEWLINE_STYLE CRLF)
  configure_file(docs/README-windows.txt
                 ${CMAKE_BINARY_DIR}/dist/README-windows.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/dist/tallyhawk.ini
                ${CMAKE_BINARY_DIR}/dist/README-windows.txt
                dist/tallyhawk.css
          DESTINATION .)
  install(DIRECTORY dist/schema DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TALLYHAWK_WINDOWS_ARCH win64)
  else()
    set(TALLYHAWK_WINDOWS_ARCH win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME
      "tallyhawk-${PROJECT_VERSION}-${TALLYHAWK_WINDOWS_ARCH}")
else()
  include(GNUInstallDirs)
  set(TALLYHAWK_DATADIR ${CMAKE_INSTALL_DATADIR}/tallyhawk)
  install(TARGETS tallyhawk zonegen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES dist/tallyhawk.ini dist/tallyhawk.css
          DESTINATION ${TALLYHAWK_DATADIR})
  install(FILES dist/systemd/tallyhawk.service dist/systemd/tallyhawk.timer
          DESTINATION ${TALLYHAWK_DATADIR}/systemd)
  install(DIRECTORY dist/schema DESTINATION ${TALLYHAWK_DATADIR})

  # Debian keeps manual pages compressed; man reads either form.
  find_program(TALLYHAWK_GZIP gzip)
  if(TALLYHAWK_GZIP)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/tallyhawk.1.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/tallyhawk.1
              ${CMAKE_BINARY_DIR}/tallyhawk.1
      COMMAND ${TALLYHAWK_GZIP} -9 -n -f ${CMAKE_BINARY_DIR}/tallyhawk.1
      DEPENDS ${CMAKE_SOURCE_DIR}/docs/tallyhawk.1
      VERBATIM)
    add_custom_target(tallyhawk_manpage ALL
                      DEPENDS ${CMAKE_BINARY_DIR}/tallyhawk.1.gz)
    install(FILES ${CMAKE_BINARY_DIR}/tallyhawk.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES docs/tallyhawk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  # dpkg-shlibdeps (package dpkg-dev) fills in Depends from the binaries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
