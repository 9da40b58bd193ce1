# The sample bank: tools/soundgen synthesises the music and effects described under
# assets/sounds into C++ that is compiled into the game. Rendering the whole bank takes well
# under a second, so it is made at build time rather than kept as data. The page, where every
# byte is downloaded, makes its music loops itself at start from their scores (HostBuild.cmake).

find_package(Threads REQUIRED)
include(${PROJECT_SOURCE_DIR}/cmake/SoundSynth.cmake)

# It writes its files with the platform's writers.
add_executable(soundgen ${PROJECT_SOURCE_DIR}/tools/soundgen/main.cpp
  ${PROJECT_SOURCE_DIR}/tools/soundgen/Bank.cpp)
target_link_libraries(soundgen PRIVATE soundgen_synth boltfever_platform boltfever_warnings
                      Threads::Threads)
set_target_properties(soundgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

# The test suite is defined after this fragment: link it to the synthesiser once it exists.
if(BOLTFEVER_TESTS)
  cmake_language(DEFER CALL target_link_libraries boltfever_tests PRIVATE soundgen_synth)
endif()

set(SOUND_ASSETS ${PROJECT_SOURCE_DIR}/assets/sounds)
set(SOUND_MANIFEST ${SOUND_ASSETS}/bank.txt)
file(GLOB_RECURSE SOUND_SOURCES CONFIGURE_DEPENDS ${SOUND_ASSETS}/*.song ${SOUND_ASSETS}/*.sfx)
set(SAMPLE_BANK_DIR ${PROJECT_BINARY_DIR}/generated)
set(SAMPLE_BANK_SOURCES
  ${SAMPLE_BANK_DIR}/SampleBank.cpp
  ${SAMPLE_BANK_DIR}/SampleBankEffects.cpp
  ${SAMPLE_BANK_DIR}/SampleBankMusic0.cpp
  ${SAMPLE_BANK_DIR}/SampleBankMusic1.cpp
  ${SAMPLE_BANK_DIR}/SampleBankMusic2.cpp
  ${SAMPLE_BANK_DIR}/SampleBankMusic3.cpp)

# The page's table, which ships the loops' scores instead (HostBuild.cmake), is made beside it.
set(PAGE_SAMPLE_BANK ${SAMPLE_BANK_DIR}/page/SampleBank.cpp)
add_custom_command(
  OUTPUT ${SAMPLE_BANK_SOURCES} ${PAGE_SAMPLE_BANK}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SAMPLE_BANK_DIR}/page
  COMMAND soundgen ${SOUND_MANIFEST} --out ${SAMPLE_BANK_DIR}
  DEPENDS soundgen ${SOUND_MANIFEST} ${SOUND_SOURCES}
  COMMENT "Synthesising the sample bank"
  VERBATIM)
target_sources(boltfever_sound PRIVATE ${SAMPLE_BANK_SOURCES})
# Every bank, for the builds that take them from this tree (HostBuild.cmake).
add_custom_target(banks DEPENDS ${SAMPLE_BANK_SOURCES} ${PAGE_SAMPLE_BANK}
                          ${PROJECT_BINARY_DIR}/generated/ImageBank.cpp)

# For listening: every sample as a WAV file in build/.../sounds, with a table of levels.
add_custom_target(soundbank-wavs
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/sounds
  COMMAND soundgen ${SOUND_MANIFEST} --wav ${PROJECT_BINARY_DIR}/sounds --report
  DEPENDS soundgen ${SOUND_MANIFEST} ${SOUND_SOURCES}
  VERBATIM)
