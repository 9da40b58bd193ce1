# The image bank: the title generator paints the title picture, then imagec compiles it with the
# sprite sources under assets/images/ into generated/ImageBank.cpp, part of the render layer.

file(GLOB IMAGEC_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/imagec/*.cpp)
add_executable(imagec ${IMAGEC_SOURCES})
target_link_libraries(imagec PRIVATE boltfever_warnings)
set_target_properties(imagec PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

file(GLOB TITLEGEN_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/titlegen/*.cpp)
add_executable(titlegen ${TITLEGEN_SOURCES})
target_link_libraries(titlegen PRIVATE boltfever_warnings)
set_target_properties(titlegen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

set(IMAGE_GENERATED ${PROJECT_BINARY_DIR}/generated)
file(GLOB IMAGE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/images/*.txt)
# imagec is given them relative to the source tree, so its messages and comments stay short.
file(GLOB IMAGE_SOURCE_NAMES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/assets/images/*.txt)

add_custom_command(
  OUTPUT ${IMAGE_GENERATED}/title.ppm
  COMMAND ${CMAKE_COMMAND} -E make_directory ${IMAGE_GENERATED}
  COMMAND titlegen ${IMAGE_GENERATED}/title.ppm
  DEPENDS titlegen
  COMMENT "Painting the title picture"
  VERBATIM)

add_custom_command(
  OUTPUT ${IMAGE_GENERATED}/ImageBank.cpp
  COMMAND imagec -o ${IMAGE_GENERATED}/ImageBank.cpp --picture 4 ${IMAGE_GENERATED}/title.ppm
          ${IMAGE_SOURCE_NAMES}
  DEPENDS imagec ${IMAGE_SOURCES} ${IMAGE_GENERATED}/title.ppm
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Compiling the image bank"
  VERBATIM)

target_sources(boltfever_render PRIVATE ${IMAGE_GENERATED}/ImageBank.cpp)

# The desktop icon, drawn from the player's sprite.
add_executable(icon ${PROJECT_SOURCE_DIR}/tools/icon/main.cpp)
target_link_libraries(icon PRIVATE boltfever_render boltfever_warnings)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/boltfever.png
  COMMAND icon ${PROJECT_BINARY_DIR}/boltfever.png
  DEPENDS icon
  COMMENT "Drawing the desktop icon"
  VERBATIM)
add_custom_target(desktop-icon ALL DEPENDS ${PROJECT_BINARY_DIR}/boltfever.png)
# The same, larger, for the page's manifest: what a phone shows for the installed game.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/icon-192.png ${PROJECT_BINARY_DIR}/icon-512.png
  COMMAND icon ${PROJECT_BINARY_DIR}/icon-192.png 24
  COMMAND icon ${PROJECT_BINARY_DIR}/icon-512.png 64
  DEPENDS icon
  COMMENT "Drawing the page's icons"
  VERBATIM)
add_custom_target(page-icons ALL DEPENDS ${PROJECT_BINARY_DIR}/icon-192.png
                                         ${PROJECT_BINARY_DIR}/icon-512.png)
