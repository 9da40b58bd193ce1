# The browser build: the game compiled by emscripten into a page in build/web (index.html,
# boltfever.js, boltfever.wasm, and boltfever.data holding maps.dat). The build-time tools do
# not run as WebAssembly, so the generated banks and maps.dat come from a native build tree,
# which ./web.sh makes first.

set(BOLTFEVER_HOST_BUILD ${PROJECT_SOURCE_DIR}/build/default CACHE PATH
    "Native build tree that holds the generated banks and maps.dat")
option(BOLTFEVER_ASYNCIFY "Let the game's waits hand the tab back to the browser" ON)
set(WEB_PAGE_DIR ${PROJECT_SOURCE_DIR}/build/web CACHE PATH "Where the page is written")
set(WEB_SOURCE_DIR ${PROJECT_SOURCE_DIR}/src/platform/web)

file(GLOB WEB_GENERATED_SOURCES CONFIGURE_DEPENDS ${BOLTFEVER_HOST_BUILD}/generated/*.cpp)
if(NOT WEB_GENERATED_SOURCES OR NOT EXISTS ${BOLTFEVER_HOST_BUILD}/maps.dat)
  message(FATAL_ERROR "No banks or maps.dat in ${BOLTFEVER_HOST_BUILD}: build the native tree "
                      "first (cmake --build --preset default --target levels)")
endif()

# libpng is not there: the browser has its own writePng, which declines.
list(FILTER CORE_SOURCES EXCLUDE REGEX "/src/platform/PngWriter\\.cpp$")
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS ${WEB_SOURCE_DIR}/*.cpp
     ${PROJECT_SOURCE_DIR}/src/shell/web/*.cpp)
add_executable(boltfever ${PROJECT_SOURCE_DIR}/src/shell/main.cpp ${CORE_SOURCES}
               ${WEB_GENERATED_SOURCES} ${WEB_SOURCES})
target_include_directories(boltfever PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(boltfever PRIVATE boltfever_warnings)
# maps.dat is found in the working directory, the page's root folder.
target_compile_definitions(boltfever PRIVATE BOLTFEVER_VERSION="${PROJECT_VERSION}"
  BOLTFEVER_DATADIR="/")
target_compile_options(boltfever PRIVATE -O2)
set_source_files_properties(${WEB_GENERATED_SOURCES} PROPERTIES COMPILE_OPTIONS -Wno-error)

set(WEB_LINK_OPTIONS
  -O2
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_bf_status
  -lidbfs.js
  --js-library ${WEB_SOURCE_DIR}/library.js
  "SHELL:--preload-file ${BOLTFEVER_HOST_BUILD}/maps.dat@/maps.dat")
# The game's waits sleep: Asyncify unwinds the game's call stack into its own stack, hands the
# tab to the browser, and winds it back at the deadline. The storage calls wait the same way.
if(BOLTFEVER_ASYNCIFY)
  list(APPEND WEB_LINK_OPTIONS -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
       "-sASYNCIFY_IMPORTS=bf_storage_open,bf_storage_sync")
endif()
target_link_options(boltfever PRIVATE ${WEB_LINK_OPTIONS})
set_target_properties(boltfever PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${WEB_PAGE_DIR}
  SUFFIX .js
  LINK_DEPENDS "${WEB_SOURCE_DIR}/library.js;${BOLTFEVER_HOST_BUILD}/maps.dat")

# The page itself: ours, with the controls under the picture.
add_custom_command(
  OUTPUT ${WEB_PAGE_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${WEB_SOURCE_DIR}/index.html ${WEB_PAGE_DIR}/index.html
  DEPENDS ${WEB_SOURCE_DIR}/index.html
  VERBATIM)
add_custom_target(page ALL DEPENDS ${WEB_PAGE_DIR}/index.html)
