# The sound generator: tools/soundgen synthesises music and effects from text descriptions.

# The synthesiser proper (scores, instruments, effects, mixing) is a library the tests use
# too; the program adds the bank's files around it.
find_package(Threads REQUIRED)
file(GLOB SOUNDGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/soundgen/*.cpp)
list(FILTER SOUNDGEN_SOURCES EXCLUDE REGEX "/(main|Bank)\\.cpp$")
add_library(soundgen_synth STATIC ${SOUNDGEN_SOURCES})
target_include_directories(soundgen_synth PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(soundgen_synth PRIVATE boltfever_warnings)
# The same samples from every compiler and machine: no fused multiply-adds (the synthesiser
# avoids the C library's transcendental functions for the same reason). Optimised even in
# debug builds, where rendering would otherwise slow the build down.
target_compile_options(soundgen_synth PRIVATE -ffp-contract=off -O2)

add_executable(soundgen ${PROJECT_SOURCE_DIR}/tools/soundgen/main.cpp
  ${PROJECT_SOURCE_DIR}/tools/soundgen/Bank.cpp ${PROJECT_SOURCE_DIR}/src/platform/WavWriter.cpp)
target_include_directories(soundgen PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(soundgen PRIVATE soundgen_synth boltfever_warnings Threads::Threads)
set_target_properties(soundgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

# The test suite is defined after this fragment: link it to the synthesiser once it exists.
if(BOLTFEVER_TESTS)
  cmake_language(DEFER CALL target_link_libraries boltfever_tests PRIVATE soundgen_synth)
endif()
