# The build-time tools (the title painter, the image and sound compilers, the level compiler)
# run where the build runs. A build whose programs cannot run here (the page for browsers,
# another machine's build) takes what they made in a native build tree, which is built first:
# the same tools make the same banks and the same maps.dat, so every build is the same game.

set(BOLTFEVER_HOST_BUILD ${PROJECT_SOURCE_DIR}/build/default CACHE PATH
    "Native build tree that holds the generated banks and maps.dat")
file(GLOB HOST_GENERATED_SOURCES CONFIGURE_DEPENDS ${BOLTFEVER_HOST_BUILD}/generated/*.cpp)
if(NOT HOST_GENERATED_SOURCES OR NOT EXISTS ${BOLTFEVER_HOST_BUILD}/maps.dat OR
   NOT EXISTS ${BOLTFEVER_HOST_BUILD}/icon-512.png)
  message(FATAL_ERROR "No banks, maps.dat or icons in ${BOLTFEVER_HOST_BUILD}: build the native "
                      "tree first (cmake --build --preset default --target levels banks page-icons)")
endif()

# The page ships its music as scores: its own table makes the loops at start, with the
# build's synthesiser compiled for it.
if(BOLTFEVER_PAGE_BANK)
  list(FILTER HOST_GENERATED_SOURCES EXCLUDE REGEX "/SampleBank(Music[0-9]+)?\\.cpp$")
  list(APPEND HOST_GENERATED_SOURCES ${BOLTFEVER_HOST_BUILD}/generated/page/SampleBank.cpp)
  include(${PROJECT_SOURCE_DIR}/cmake/SoundSynth.cmake)
  target_link_libraries(boltfever_sound PRIVATE soundgen_synth)
endif()

# The banks go into the layers that own them.
foreach(generated ${HOST_GENERATED_SOURCES})
  if(generated MATCHES "/ImageBank\\.cpp$")
    target_sources(boltfever_render PRIVATE ${generated})
  else()
    target_sources(boltfever_sound PRIVATE ${generated})
  endif()
endforeach()
set_source_files_properties(${HOST_GENERATED_SOURCES} PROPERTIES COMPILE_OPTIONS -Wno-error)
