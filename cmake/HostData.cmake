# Another machine's build (HostBuild.cmake): maps.dat and the desktop icon, as the native tree
# made them, beside the game in this tree, where the game and its tests find them, and where
# the packages take them from.
foreach(file maps.dat boltfever.png)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${BOLTFEVER_HOST_BUILD}/${file} ${PROJECT_BINARY_DIR}/${file}
    DEPENDS ${BOLTFEVER_HOST_BUILD}/${file}
    VERBATIM)
endforeach()
add_custom_target(levels ALL DEPENDS ${PROJECT_BINARY_DIR}/maps.dat)
add_custom_target(desktop-icon ALL DEPENDS ${PROJECT_BINARY_DIR}/boltfever.png)
# Windows' package puts it beside the program (WindowsPackage.cmake).
if(NOT WIN32)
  install(FILES ${PROJECT_BINARY_DIR}/maps.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/boltfever)
endif()
