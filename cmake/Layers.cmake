# A build step that refuses an include against the direction of the layers
# (a lower layer including a higher one), before anything is compiled.
set(TOLVENK_LAYER_STAMP ${CMAKE_BINARY_DIR}/layer-check.stamp)
file(GLOB_RECURSE TOLVENK_LAYER_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
add_custom_command(
  OUTPUT ${TOLVENK_LAYER_STAMP}
  COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR}/src -DSTAMP=${TOLVENK_LAYER_STAMP}
          -P ${PROJECT_SOURCE_DIR}/cmake/LayerCheck.cmake
  DEPENDS ${TOLVENK_LAYER_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/LayerCheck.cmake
  COMMENT "Checking the direction of includes between layers"
  VERBATIM)
add_custom_target(tolvenk_layer_check DEPENDS ${TOLVENK_LAYER_STAMP})
