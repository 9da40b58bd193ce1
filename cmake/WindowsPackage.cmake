# The Windows build: a program that needs nothing of the system but Windows itself and SDL2.dll
# beside it (mingw-w64's C and C++ runtimes are linked in), and the .zip a player unpacks
# anywhere: boltfever.exe, SDL2.dll, maps.dat (found beside the .exe), README and LICENSE.
# The game keeps its files where Windows programs keep theirs (platform/windows/Paths.cpp).

# A console program, as on every other system: its messages, its --help and its status reach the
# console it was started from, and Ctrl+C or closing that console is a QUIT (windows/Process.cpp).
# Started from Explorer, a console opens beside the window.
target_link_options(boltfever PRIVATE -static)
# SDL2.dll beside the program, in the build tree too, where the tests run it under wine.
add_custom_command(TARGET boltfever POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:SDL2::SDL2> $<TARGET_FILE_DIR:boltfever>
  VERBATIM)

install(TARGETS boltfever RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:SDL2::SDL2> ${PROJECT_BINARY_DIR}/maps.dat DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_PACKAGE_NAME boltfever)
set(CPACK_PACKAGE_VENDOR "Bolt Fever")
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME boltfever-${PROJECT_VERSION}-windows-x64)
# One folder in the .zip, named as the .zip is.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
