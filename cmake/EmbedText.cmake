# tolvenk_embed_text(<out.cpp> <namespace> <symbol> <file> [<symbol> <file>...])
# Compiles text files into `const char* const` symbols, so data files such as
# schemas and language tables ship inside the binaries.
function(tolvenk_embed_text out ns)
  set(args ${ARGN})
  set(deps)
  list(LENGTH args n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 1 ${last} 2)
    list(GET args ${i} f)
    list(APPEND deps ${f})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DNS=${ns} "-DENTRIES=${args}"
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedTextRun.cmake
    DEPENDS ${deps} ${PROJECT_SOURCE_DIR}/cmake/EmbedTextRun.cmake
    VERBATIM)
endfunction()
