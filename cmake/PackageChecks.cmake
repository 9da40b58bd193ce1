# Read by cpack before it makes each package: a Debian package that would install outside /usr,
# lack its man page or declare no dependencies is refused here, not found out by a player; so is
# a package whose changelog does not begin with its version.

if(CPACK_GENERATOR STREQUAL "DEB")
  if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
    message(FATAL_ERROR "a Debian package installs into /usr, not ${CPACK_PACKAGING_INSTALL_PREFIX}: "
                        "configure with -DCMAKE_INSTALL_PREFIX=/usr")
  endif()
  if(NOT CPACK_BOLTFEVER_MAN_PAGE)
    message(FATAL_ERROR "no man page: install help2man, then configure and build again")
  endif()
  # dpkg-shlibdeps looks in the libraries of the machine the package is for.
  if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
  endif()
  foreach(tool dpkg-shlibdeps file)
    find_program(tool_path_${tool} ${tool})
    if(NOT tool_path_${tool})
      message(FATAL_ERROR "${tool} is needed to work out the package's dependencies: "
                          "install dpkg-dev and file")
    endif()
  endforeach()
endif()

if(NOT CPACK_BOLTFEVER_CHANGELOG_VERSION STREQUAL CPACK_PACKAGE_VERSION)
  message(FATAL_ERROR "packaging/changelog: the newest entry is for ${CPACK_BOLTFEVER_CHANGELOG_VERSION}, "
                      "not ${CPACK_PACKAGE_VERSION}: add an entry for this release")
endif()
