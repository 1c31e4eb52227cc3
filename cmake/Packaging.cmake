# Install rules and packages.
#
# Elsewhere than on Windows the files go where GNUInstallDirs says, and
# `cpack -G DEB` builds a Debian package of them:
#   bin/tallyhawk, bin/zonegen
#   share/man/man1/{tallyhawk,zonegen}.1(.gz)
#   share/doc/tallyhawk/copyright           the licence, in Debian's format
#   share/doc/tallyhawk/changelog.Debian(.gz)   the package's changes
#   share/lintian/overrides/tallyhawk       tags that do not apply, and why
#   share/tallyhawk/tallyhawk.ini          example settings, every output on
#   share/tallyhawk/tallyhawk.css          the style sheet for the pages
#   share/tallyhawk/systemd/tallyhawk.{service,timer}   example units
#   share/tallyhawk/schema/{stats,usage}.schema.json   the JSON files' schemas
#   share/tallyhawk/templates/{index,pilot,squad}.mustache   the site's
#                                          templates, as examples to change
# On Windows everything lies in one folder, packed by `cpack` (ZIP) as
# tallyhawk-<version>-win64.zip: tallyhawk.exe, zonegen.exe, tallyhawk.ini,
# tallyhawk.css, README-windows.txt, LICENSE.txt, schema\ and templates\.

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
  configure_file(LICENSE ${CMAKE_BINARY_DIR}/dist/LICENSE.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/dist/tallyhawk.ini
                ${CMAKE_BINARY_DIR}/dist/README-windows.txt
                ${CMAKE_BINARY_DIR}/dist/LICENSE.txt
                dist/tallyhawk.css
          DESTINATION .)
  install(DIRECTORY dist/schema dist/templates DESTINATION .)
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
  # A stripped install (CPack's, or cmake --install --strip) also drops the
  # compiler's name and version from the programs, as Debian's own packages
  # do.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program tallyhawk zonegen)
        execute_process(
          COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
  install(FILES dist/tallyhawk.ini dist/tallyhawk.css
          DESTINATION ${TALLYHAWK_DATADIR})
  install(FILES dist/systemd/tallyhawk.service dist/systemd/tallyhawk.timer
          DESTINATION ${TALLYHAWK_DATADIR}/systemd)
  install(DIRECTORY dist/schema dist/templates DESTINATION ${TALLYHAWK_DATADIR})

  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(TALLYHAWK_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tallyhawk)
  install(FILES dist/debian/copyright DESTINATION ${TALLYHAWK_DOCDIR})
  # The lintian tags that do not apply to this package, each with its reason.
  install(FILES dist/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME tallyhawk)
  configure_file(dist/debian/changelog.in
                 ${CMAKE_BINARY_DIR}/deb/changelog.Debian @ONLY)

  # Debian keeps manual pages and changelogs compressed, with gzip -9n: no
  # name or time in the header, so the same text gives the same bytes. man
  # reads either form.
  find_program(TALLYHAWK_GZIP gzip)
  # Installs `file` (built or from the source tree) to `destination`,
  # compressed when gzip is there.
  function(tallyhawk_install_gzipped file destination)
    get_filename_component(name ${file} NAME)
    if(NOT TALLYHAWK_GZIP)
      install(FILES ${file} DESTINATION ${destination})
      return()
    endif()
    # gzip replaces the file it compresses: it is given a copy.
    set(copy ${CMAKE_BINARY_DIR}/gzipped/${name})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/gzipped)
    add_custom_command(
      OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${file} ${copy}
      COMMAND ${TALLYHAWK_GZIP} -9 -n -f ${copy}
      DEPENDS ${file}
      VERBATIM)
    add_custom_target(tallyhawk_gzip_${name} ALL DEPENDS ${copy}.gz)
    install(FILES ${copy}.gz DESTINATION ${destination})
  endfunction()
  tallyhawk_install_gzipped(${CMAKE_SOURCE_DIR}/docs/tallyhawk.1
                            ${CMAKE_INSTALL_MANDIR}/man1)
  tallyhawk_install_gzipped(${CMAKE_SOURCE_DIR}/docs/zonegen.1
                            ${CMAKE_INSTALL_MANDIR}/man1)
  tallyhawk_install_gzipped(${CMAKE_BINARY_DIR}/deb/changelog.Debian
                            ${TALLYHAWK_DOCDIR})

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # A tool for the admins of game servers, not a game: Debian's games section
  # is for programs in /usr/games.
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # dpkg-shlibdeps (package dpkg-dev) fills in Depends from the binaries.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
