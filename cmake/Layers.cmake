# The layers of src/, bottom up. Each is a static library of its folder that links only the
# layers below it, and each sees only its own folder and theirs: its include root is a folder of
# links (layers/NAME in the build tree) to exactly those folders of src/, and src/ itself is on
# no layer's include path. An #include that points up a layer names a file the compiler cannot
# find: it does not build. scripts/check-layers.py reads the same links and names such an
# include (the ctest test Layers), in the sources this build leaves out too.

set(BOLTFEVER_LAYER_ROOTS ${PROJECT_BINARY_DIR}/layers)

# boltfever_layer(NAME [BELOW LAYER...] [EXCLUDE REGEX...] [SOURCES FILE...] [ROOT_ONLY]): the
# library boltfever_NAME of the sources under src/NAME (less those matching EXCLUDE, plus
# SOURCES), seeing and linking the layers named BELOW and all theirs. ROOT_ONLY makes the include
# root alone, for a layer this build leaves out, so that its includes are still checked.
function(boltfever_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ROOT_ONLY" "" "BELOW;EXCLUDE;SOURCES")
  set(folders ${name})
  foreach(below ${arg_BELOW})
    list(APPEND folders ${BOLTFEVER_LAYER_FOLDERS_${below}})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(BOLTFEVER_LAYER_FOLDERS_${name} ${folders} PARENT_SCOPE)

  set(root ${BOLTFEVER_LAYER_ROOTS}/${name})
  file(MAKE_DIRECTORY ${root})
  file(GLOB old_links LIST_DIRECTORIES true ${root}/*)
  foreach(link ${old_links})
    file(REMOVE ${link})  # removes the link, never what it points to
  endforeach()
  foreach(folder ${folders})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  if(arg_ROOT_ONLY)
    return()
  endif()

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  foreach(pattern ${arg_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  list(TRANSFORM arg_BELOW PREPEND boltfever_)
  add_library(boltfever_${name} STATIC ${sources} ${arg_SOURCES})
  target_include_directories(boltfever_${name} PUBLIC ${root})
  target_link_libraries(boltfever_${name} PUBLIC ${arg_BELOW} PRIVATE boltfever_warnings)
endfunction()

# 1. The seam: backends, files, paths, messages, buttons, clock, replays, input scripts, image
#    and sound writers. The window's backend (SDL's, or the browser's) is a library of its own
#    below, built only with the game. A browser has no libpng: its writePng declines.
if(EMSCRIPTEN)
  boltfever_layer(platform EXCLUDE "/src/platform/(sdl|web|windows|net)/"
                  "/src/platform/PngWriter\\.cpp$"
                  SOURCES ${PROJECT_SOURCE_DIR}/src/platform/web/PngWriter.cpp
                          ${PROJECT_SOURCE_DIR}/src/platform/web/AskWorldTable.cpp
                          ${PROJECT_SOURCE_DIR}/src/platform/net/WorldAnswer.cpp)
  # The world table's answers are read with nlohmann-json, a header of the machine's own: the
  # page sees that one folder of it, not the machine's other headers.
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/json-include)
  file(CREATE_LINK /usr/include/nlohmann ${PROJECT_BINARY_DIR}/json-include/nlohmann SYMBOLIC)
  target_include_directories(boltfever_platform SYSTEM PRIVATE ${PROJECT_BINARY_DIR}/json-include)
  # maps.dat is found in the working directory, the page's root folder.
  target_compile_definitions(boltfever_platform PUBLIC BOLTFEVER_DATADIR="/")
else()
  # Windows' files, folders and process (windows/) take the place of the POSIX ones. Its
  # localtime_r is mingw-w64's, given this; its memory counters are psapi's.
  # The world table's client is cpp-httplib's, where the machine building is the one playing;
  # the other machines' builds reach no world table.
  set(network ${PROJECT_SOURCE_DIR}/src/platform/net/NoNetwork.cpp)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(HTTPLIB IMPORTED_TARGET cpp-httplib)
    find_package(nlohmann_json 3 QUIET)
    if(HTTPLIB_FOUND AND nlohmann_json_FOUND)
      set(network ${PROJECT_SOURCE_DIR}/src/platform/net/AskWorldTable.cpp
                  ${PROJECT_SOURCE_DIR}/src/platform/net/WorldAnswer.cpp)
    endif()
  endif()
  if(WIN32)
    boltfever_layer(platform EXCLUDE "/src/platform/(sdl|web|net)/"
                    "/src/platform/(Files|Paths|Process)\\.cpp$" SOURCES ${network})
    target_compile_definitions(boltfever_platform PUBLIC _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
    target_link_libraries(boltfever_platform PUBLIC psapi)
  else()
    boltfever_layer(platform EXCLUDE "/src/platform/(sdl|web|windows|net)/" SOURCES ${network})
  endif()
  if(network MATCHES "AskWorldTable")
    target_link_libraries(boltfever_platform PRIVATE PkgConfig::HTTPLIB
                          nlohmann_json::nlohmann_json)
  endif()
  target_link_libraries(boltfever_platform PUBLIC PNG::PNG)
  target_compile_definitions(boltfever_platform PUBLIC
    BOLTFEVER_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}/boltfever")
endif()
target_compile_definitions(boltfever_platform PUBLIC BOLTFEVER_VERSION="${PROJECT_VERSION}")
# 2. Game-wide state without behaviour: game state, random generator, the run's counters, kind
#    names.
boltfever_layer(state BELOW platform)
# 3. Drawing and mixing, given numbers.
boltfever_layer(render BELOW state)
boltfever_layer(sound BELOW state)
# 4. Particles, beams and rings, drawn from where they are told.
boltfever_layer(effects BELOW render)
# 5. The maze, its cells and the actor base.
boltfever_layer(world BELOW effects sound)
# 6. Every kind of actor.
boltfever_layer(actors BELOW world)
# 7. The game's rules over actors: level start, waves, the monster factory.
boltfever_layer(rules BELOW actors)
# 8. The program: main loop, title, menus, automatic player, command line. Its entry point and
#    the browser page's status go into the executable.
boltfever_layer(shell BELOW rules EXCLUDE "/src/shell/main\\.cpp$" "/src/shell/web/")
# 8'. Beside the program, a second one: the world high-score server. It sees the layers below
#    the program, never the program's own folder nor the window's code, and runs the game as a
#    process of its own to play the replays it is sent. Its entry point goes into its executable.
#    It is built for the machine that builds it: the other machines' builds are the game's alone.
if(NOT EMSCRIPTEN AND NOT CMAKE_CROSSCOMPILING AND BOLTFEVER_SERVER)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
  pkg_check_modules(PQXX REQUIRED IMPORTED_TARGET libpqxx)
  find_package(SQLite3 REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
  find_package(OpenSSL REQUIRED COMPONENTS Crypto)
  boltfever_layer(server BELOW rules EXCLUDE "/src/server/main\\.cpp$")
  target_link_libraries(boltfever_server PUBLIC PkgConfig::HTTPLIB PkgConfig::PQXX SQLite::SQLite3
                        nlohmann_json::nlohmann_json OpenSSL::Crypto)
else()
  boltfever_layer(server BELOW rules ROOT_ONLY)
endif()
