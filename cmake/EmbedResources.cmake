# Turns files into a C++ source with their bytes, looked up by file name through ProgramResource().
function(ep_embed_resources target)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_data.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DFILES=${ARGN}" -P ${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake
    DEPENDS ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/WriteResources.cmake
    COMMENT "Embedding program resources"
    VERBATIM)
  add_library(${target} STATIC ${output})
  target_link_libraries(${target} PUBLIC ep_runtime)
endfunction()
