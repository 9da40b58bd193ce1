# The browser build: the game compiled by emscripten into a page in build/web (index.html,
# boltfever.js, boltfever.wasm, and boltfever.data holding maps.dat). The build-time tools do
# not run as WebAssembly, so the generated banks and maps.dat come from a native build tree,
# which ./web.sh makes first.

option(BOLTFEVER_ASYNCIFY "Let the game's waits hand the tab back to the browser" ON)
set(WEB_PAGE_DIR ${PROJECT_SOURCE_DIR}/build/web CACHE PATH "Where the page is written")
set(WEB_SOURCE_DIR ${PROJECT_SOURCE_DIR}/src/platform/web)
# For speed: the page's processor time is measured against a page that only draws and plays
# (the page's test), and -O2 costs about 100 KB more than -Os.
set(BOLTFEVER_WEB_OPTIMIZE -O2 CACHE STRING "How the page is optimised (-O2, -Os)")

# The banks and maps.dat come from the native build tree (HostBuild.cmake); the music comes as
# its scores.
set(BOLTFEVER_PAGE_BANK ON)
include(${PROJECT_SOURCE_DIR}/cmake/HostBuild.cmake)
# The page's backend is the platform's and sees no more than the platform does; the page's
# status is the program's.
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${WEB_SOURCE_DIR}/*.cpp)
list(FILTER WEB_SOURCES EXCLUDE REGEX "/(PngWriter|AskWorldTable)\\.cpp$")
add_library(boltfever_window STATIC ${WEB_SOURCES})
target_link_libraries(boltfever_window PUBLIC boltfever_platform PRIVATE boltfever_warnings)
add_executable(boltfever ${PROJECT_SOURCE_DIR}/src/shell/main.cpp
               ${PROJECT_SOURCE_DIR}/src/shell/web/PageStatus.cpp)
target_link_libraries(boltfever PRIVATE boltfever_shell boltfever_window boltfever_warnings)
foreach(target boltfever_platform boltfever_state boltfever_render boltfever_sound
               boltfever_effects boltfever_world boltfever_actors boltfever_rules boltfever_shell
               boltfever_window boltfever)
  target_compile_options(${target} PRIVATE ${BOLTFEVER_WEB_OPTIMIZE})
endforeach()

set(WEB_BASE_LINK_OPTIONS
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_bf_status,_bf_pointer_target
  -lidbfs.js
  --js-library ${WEB_SOURCE_DIR}/library.js)
set(WEB_LINK_OPTIONS
  ${BOLTFEVER_WEB_OPTIMIZE}
  ${WEB_BASE_LINK_OPTIONS}
  "SHELL:--preload-file ${BOLTFEVER_HOST_BUILD}/maps.dat@/maps.dat")
# The game's waits sleep: Asyncify unwinds the game's call stack into its own stack, hands the
# tab to the browser, and winds it back at the deadline. The storage calls wait the same way.
# Only the functions on the way to a sleep are made to unwind: the page is smaller and quicker
# for it. Asyncify finds the direct callers of the sleeps itself. Above them stand the backend's
# virtual calls: the waits below are the functions that make them (the platform's waits, main's
# hand-back, and a backend that passes them on to another), and a new call of that kind must be
# named here. Every function that calls a wait is found in a first link of the same code that
# keeps its names (scripts/asyncify-list.py).
if(BOLTFEVER_ASYNCIFY)
  add_executable(boltfever_graph EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/src/shell/main.cpp
                 ${PROJECT_SOURCE_DIR}/src/shell/web/PageStatus.cpp)
  target_link_libraries(boltfever_graph PRIVATE boltfever_shell boltfever_window
                                                boltfever_warnings)
  target_compile_options(boltfever_graph PRIVATE ${BOLTFEVER_WEB_OPTIMIZE})
  # Linked as compiled, before the link's own inlining: every wait is still there by its name,
  # and a function the page's link then inlines is only named in vain (wasm-opt warns of it).
  target_link_options(boltfever_graph PRIVATE -O0 --profiling-funcs ${WEB_BASE_LINK_OPTIONS})
  set_target_properties(boltfever_graph PROPERTIES SUFFIX .js
                        LINK_DEPENDS "${WEB_SOURCE_DIR}/library.js")
  set(ASYNCIFY_LIST ${CMAKE_CURRENT_BINARY_DIR}/asyncify-add.txt)
  add_custom_command(
    OUTPUT ${ASYNCIFY_LIST}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/asyncify-list.py
            $<TARGET_FILE_DIR:boltfever_graph>/boltfever_graph.wasm ${ASYNCIFY_LIST}
            "main" "timerWait(*" "waitVsync()" "platformPollButtons()" "pauseBetweenPolls()"
            "*Backend::idleUntil(*" "*Backend::pollButtons()" "*Backend::pauseBetweenPolls()"
            "*Backend::handBack(int)" "askWorldTable(*"
    DEPENDS boltfever_graph ${PROJECT_SOURCE_DIR}/scripts/asyncify-list.py
    COMMENT "Listing the functions on the way to the page's sleeps" VERBATIM)
  add_custom_target(asyncify_list DEPENDS ${ASYNCIFY_LIST})
  add_dependencies(boltfever asyncify_list)
  list(APPEND WEB_LINK_OPTIONS -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
       "-sASYNCIFY_IMPORTS=bf_storage_open,bf_storage_sync,bf_sleep,bf_world_ask"
       -sASYNCIFY_IGNORE_INDIRECT=1 -sASYNCIFY_ADD=@${ASYNCIFY_LIST})
  set(WEB_LIST_DEPENDS ";${ASYNCIFY_LIST}")
endif()
target_link_options(boltfever PRIVATE ${WEB_LINK_OPTIONS})
set_target_properties(boltfever PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${WEB_PAGE_DIR}
  SUFFIX .js
  LINK_DEPENDS "${WEB_SOURCE_DIR}/library.js;${BOLTFEVER_HOST_BUILD}/maps.dat${WEB_LIST_DEPENDS}")

# The page itself, ours: the game's page with the controls under the picture, the touch
# controls, and what makes it installable (the manifest, and icons the native build draws).
set(WEB_OWN_FILES index.html touch.js touch.css manifest.webmanifest)
set(WEB_ICONS icon-192.png icon-512.png)
set(WEB_PAGE_OUTPUTS "")
foreach(file ${WEB_OWN_FILES} ${WEB_ICONS})
  if(file IN_LIST WEB_ICONS)
    set(from ${BOLTFEVER_HOST_BUILD}/${file})
  else()
    set(from ${WEB_SOURCE_DIR}/${file})
  endif()
  add_custom_command(
    OUTPUT ${WEB_PAGE_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${from} ${WEB_PAGE_DIR}/${file}
    DEPENDS ${from}
    VERBATIM)
  list(APPEND WEB_PAGE_OUTPUTS ${WEB_PAGE_DIR}/${file})
endforeach()
# The service worker keeps every file of the page for playing offline, under a version made
# from their contents.
set(WEB_CACHED_FILES ${WEB_OWN_FILES} boltfever.js boltfever.wasm boltfever.data ${WEB_ICONS})
list(JOIN WEB_CACHED_FILES "," WEB_CACHED_LIST)
add_custom_command(
  OUTPUT ${WEB_PAGE_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DPAGE_DIR=${WEB_PAGE_DIR} -DTEMPLATE=${WEB_SOURCE_DIR}/sw.js.in
          -DFILES=${WEB_CACHED_LIST} -P ${PROJECT_SOURCE_DIR}/cmake/PageCache.cmake
  DEPENDS boltfever ${WEB_PAGE_OUTPUTS} ${WEB_SOURCE_DIR}/sw.js.in
          ${PROJECT_SOURCE_DIR}/cmake/PageCache.cmake
  VERBATIM)
add_custom_target(page ALL DEPENDS ${WEB_PAGE_OUTPUTS} ${WEB_PAGE_DIR}/sw.js)
