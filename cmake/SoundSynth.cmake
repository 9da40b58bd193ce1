# The synthesiser proper (scores, instruments, effects, mixing): a library that the sample bank's
# generator, the tests, and the page (which makes its music at start) are built on.
file(GLOB SOUNDGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/soundgen/*.cpp)
list(FILTER SOUNDGEN_SOURCES EXCLUDE REGEX "/(main|Bank)\\.cpp$")
add_library(soundgen_synth STATIC ${SOUNDGEN_SOURCES})
target_include_directories(soundgen_synth PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(soundgen_synth PRIVATE boltfever_warnings)
# The same samples from every compiler and machine: no fused multiply-adds (the synthesiser
# avoids the C library's transcendental functions for the same reason). Optimised even in
# debug builds, where rendering would otherwise slow the build down.
target_compile_options(soundgen_synth PRIVATE -ffp-contract=off -O2)
