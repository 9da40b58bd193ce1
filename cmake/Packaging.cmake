# Everything a player's system gets besides the program: the levels (see Levels.cmake), the
# desktop entry and icon, a man page made from --help, the licence and the changelog, and the
# packages that carry them all: `cpack -G DEB` and `cpack -G TGZ` in a build folder.

# Games go to PREFIX/games, as Debian's policy has it. The desktop entry names the program by
# its full path: not every desktop session has the games folder on its PATH.
set(BOLTFEVER_INSTALL_BINDIR games CACHE STRING "Where the program is installed (under the prefix)")
cmake_path(ABSOLUTE_PATH BOLTFEVER_INSTALL_BINDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE BOLTFEVER_FULL_BINDIR)
install(TARGETS boltfever RUNTIME DESTINATION ${BOLTFEVER_INSTALL_BINDIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/boltfever.desktop.in
               ${PROJECT_BINARY_DIR}/boltfever.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/boltfever.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/boltfever.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
# The icon is part of the game: building the game draws it, so an install right after a build
# of the game alone finds it.
add_dependencies(boltfever desktop-icon)

include(${PROJECT_SOURCE_DIR}/cmake/PackageDocs.cmake)

# As in Debian's own packages, no compiler's name in the program: GCC's start-up files and
# objects note it in a section that GNU strip keeps (clang's strip drops it).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_OBJCOPY)
  add_custom_command(TARGET boltfever POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:boltfever>
    VERBATIM)
endif()

# The man page is the game's own --help, so it never falls behind the options. help2man is a
# build tool like any other, but a build without it still gives a playable game, just no page.
find_program(HELP2MAN help2man)
# Another machine's game answers --help under its emulator: help2man runs it through a script of
# the game's name.
set(HELP_PROGRAM $<TARGET_FILE:boltfever>)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
  set(HELP_PROGRAM ${PROJECT_BINARY_DIR}/emulated/boltfever)
  file(GENERATE OUTPUT ${HELP_PROGRAM}
       CONTENT "#!/bin/sh\nexec ${emulator} '$<TARGET_FILE:boltfever>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
endif()
if(HELP2MAN)
  set(MAN_PAGE ${PROJECT_BINARY_DIR}/boltfever.6.gz)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/boltfever.h2m.in
                 ${PROJECT_BINARY_DIR}/boltfever.h2m @ONLY)
  add_custom_command(
    OUTPUT ${MAN_PAGE}
    COMMAND ${HELP2MAN} --no-info --section=6 --source "Bolt Fever ${PROJECT_VERSION}"
            --include ${PROJECT_BINARY_DIR}/boltfever.h2m --output ${PROJECT_BINARY_DIR}/boltfever.6
            ${HELP_PROGRAM}
    COMMAND sed -i -f ${PROJECT_SOURCE_DIR}/packaging/man-tables.sed ${PROJECT_BINARY_DIR}/boltfever.6
    # Debian's way: compressed, with no name or time stamp in the gzip header.
    COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/boltfever.6
    DEPENDS boltfever ${PROJECT_BINARY_DIR}/boltfever.h2m ${PROJECT_SOURCE_DIR}/packaging/man-tables.sed
    COMMENT "Writing the man page from --help"
    VERBATIM)
  add_custom_target(man-page ALL DEPENDS ${MAN_PAGE})
  install(FILES ${MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  message(STATUS "help2man not found: no man page")
  set(MAN_PAGE "")
  add_custom_target(man-page)
endif()

# The world high-score server, beside the game it plays replays with (it finds it there), with
# a systemd unit that runs it as a user of its own, its table in /var/lib/boltfever-server.
# The unit goes where bookworm's systemd and lintian look for a package's units.
if(TARGET boltfever-server)
  install(TARGETS boltfever-server RUNTIME DESTINATION ${BOLTFEVER_INSTALL_BINDIR})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/boltfever-server.service.in
                 ${PROJECT_BINARY_DIR}/boltfever-server.service @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/boltfever-server.service DESTINATION /lib/systemd/system)
  if(HELP2MAN)
    set(SERVER_MAN_PAGE ${PROJECT_BINARY_DIR}/boltfever-server.6.gz)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/boltfever-server.h2m.in
                   ${PROJECT_BINARY_DIR}/boltfever-server.h2m @ONLY)
    add_custom_command(
      OUTPUT ${SERVER_MAN_PAGE}
      COMMAND ${HELP2MAN} --no-info --section=6 --source "Bolt Fever ${PROJECT_VERSION}"
              --version-string "${PROJECT_VERSION}"
              --include ${PROJECT_BINARY_DIR}/boltfever-server.h2m
              --output ${PROJECT_BINARY_DIR}/boltfever-server.6 $<TARGET_FILE:boltfever-server>
      COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/boltfever-server.6
      DEPENDS boltfever-server ${PROJECT_BINARY_DIR}/boltfever-server.h2m
      COMMENT "Writing the server's man page from --help"
      VERBATIM)
    add_custom_target(server-man-page ALL DEPENDS ${SERVER_MAN_PAGE})
    install(FILES ${SERVER_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  endif()
endif()

# Packages. The game looks for maps.dat in the data folder of the prefix it was configured
# with, so the packages install into that same prefix; a Debian package wants /usr, which
# PackageChecks.cmake insists on when cpack runs.
set(BOLTFEVER_PACKAGE_CONTACT "Bolt Fever developers <boltfever@example.invalid>"
    CACHE STRING "Maintainer named in the packages")
set(CPACK_PACKAGE_NAME boltfever)
set(CPACK_PACKAGE_VENDOR "Bolt Fever")
set(CPACK_PACKAGE_CONTACT "${BOLTFEVER_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fast single-player maze shooter")
# Lines of at most 80 columns, as dpkg shows them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "One wrap-round screen of 40 x 29 tiles, sixteen monster kinds in four warring\n"
    "factions, disks to collect, waves, and a playable tutorial. Collect five disks\n"
    "to finish a level. Plays in a window or fullscreen, with the keyboard or a\n"
    "game controller. With boltfever-server, a world high-score table that keeps an\n"
    "entry only once the game has played its replay back to its end.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# The tarball holds the same tree as the Debian package (usr/...), to unpack at /.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the program links (SDL2, libpng, the C++ runtime) and
# names the packages that hold them, with the versions the build needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Another machine's package is of its architecture (the toolchain's), and dpkg-shlibdeps reads
# that machine's libraries (PackageChecks.cmake).
if(BOLTFEVER_DEB_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${BOLTFEVER_DEB_ARCHITECTURE})
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/PackageChecks.cmake)
set(CPACK_BOLTFEVER_MAN_PAGE "${MAN_PAGE}")  # for PackageChecks.cmake
include(CPack)
