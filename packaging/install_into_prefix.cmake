# Installs the build of BUILD_DIR into the temporary prefix PREFIX, made anew, for the checks that include
# this.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
