# The documents every Debian package carries in /usr/share/doc/boltfever: the copyright file,
# made from LICENSE, and the changelog.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/packaging/changelog)

# The licence, in Debian's machine-readable copyright format: LICENSE's holder, and its text
# with every line indented by one space and every blank line a lone dot.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license}")
set(BOLTFEVER_COPYRIGHT "${CMAKE_MATCH_1}")
string(FIND "${license}" "Permission is hereby granted" text_start)
if(NOT copyright_line OR text_start LESS 0)
  message(FATAL_ERROR "LICENSE: no copyright line or no licence text")
endif()
string(SUBSTRING "${license}" ${text_start} -1 license_text)
string(STRIP "${license_text}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text "${license_text}")
set(BOLTFEVER_LICENSE_TEXT " ${license_text}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The changelog, compressed as Debian's are. The package is our own (native), so it is
# changelog.gz, and its newest entry must be this version (PackageChecks.cmake).
set(CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog
          ${PROJECT_BINARY_DIR}/changelog
  COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${CHANGELOG})
add_dependencies(boltfever changelog)
install(FILES ${CHANGELOG} DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
string(REGEX REPLACE "^boltfever \\(([^)]*)\\).*" "\\1" CPACK_BOLTFEVER_CHANGELOG_VERSION
       "${changelog_top}")
