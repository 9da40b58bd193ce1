# The levels: text files under levels/, compiled by levelc into maps.dat beside the game, where
# it finds them in a build tree; installed to the data folder the game looks in last.

file(GLOB LEVELC_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/levelc/*.cpp)
add_executable(levelc ${LEVELC_SOURCES})
target_link_libraries(levelc PRIVATE boltfever_world boltfever_warnings)
# GCC 12 at -O3 inlines std::string's operator+ deep enough to believe the copy inside may
# overlap itself, and warns with -Wrestrict wherever the inliner happens to go that far. The
# copies run between distinct buffers; the tool builds its messages that way a lot.
target_compile_options(levelc PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
set_target_properties(levelc PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

file(GLOB LEVEL_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/levels/*.txt)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/maps.dat
  COMMAND levelc build ${PROJECT_SOURCE_DIR}/levels ${PROJECT_BINARY_DIR}/maps.dat
  DEPENDS levelc ${LEVEL_FILES}
  COMMENT "Checking the levels and compiling maps.dat"
  VERBATIM)
add_custom_target(levels ALL DEPENDS ${PROJECT_BINARY_DIR}/maps.dat)
install(FILES ${PROJECT_BINARY_DIR}/maps.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/boltfever)

# The game, the tests and the benchmarks are defined after this fragment; hook them up once
# they exist.
function(boltfever_depend_on_levels)
  foreach(target boltfever boltfever_tests boltfever_bench)
    if(TARGET ${target})
      add_dependencies(${target} levels)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL boltfever_depend_on_levels)
