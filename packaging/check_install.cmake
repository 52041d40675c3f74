# Installs the build into a temporary prefix and checks that every file of the desktop program is there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
foreach(path bin/effectpanel bin/effectpanel-sim share/applications/effectpanel.desktop
             share/icons/hicolor/64x64/apps/effectpanel.png)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/effectpanel.desktop entry)
if(NOT entry MATCHES "Categories=Audio;AudioVideo;")
  message(FATAL_ERROR "the desktop entry lacks its categories")
endif()
file(REMOVE_RECURSE ${PREFIX})
