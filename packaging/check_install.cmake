# Installs the build into a temporary prefix and checks that every file of the desktop program is there,
# that the desktop entry is valid and that it claims the preset files' type, which the installed MIME
# package gives *.tonset.
include(${CMAKE_CURRENT_LIST_DIR}/install_into_prefix.cmake)
set(paths share/applications/effectpanel.desktop share/icons/hicolor/64x64/apps/effectpanel.png
          share/mime/packages/effectpanel.xml share/doc/effectpanel/copyright
          share/doc/effectpanel/changelog.Debian.gz share/doc/effectpanel/examples/rooms.example.json)
foreach(program effectpanel effectpanel-cli effectpanel-sim)
  list(APPEND paths bin/${program} share/man/man1/${program}.1.gz)
endforeach()
foreach(path ${paths})
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()

set(entry_path ${PREFIX}/share/applications/effectpanel.desktop)
execute_process(COMMAND desktop-file-validate ${entry_path} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "desktop-file-validate rejects the desktop entry")
endif()
file(READ ${entry_path} entry)
if(NOT entry MATCHES "Categories=Audio;AudioVideo;")
  message(FATAL_ERROR "the desktop entry lacks its categories")
endif()
if(NOT entry MATCHES "\nExec=effectpanel %f\n" OR NOT entry MATCHES "\nMimeType=([^;\n]+);\n")
  message(FATAL_ERROR "the desktop entry does not open a preset file of its MIME type")
endif()
set(preset_type ${CMAKE_MATCH_1})

# update-mime-database ends with 0 even on a broken package; a broken one lacks the glob.
execute_process(COMMAND update-mime-database ${PREFIX}/share/mime OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(STRINGS ${PREFIX}/share/mime/globs2 globs REGEX ":\\*\\.tonset$")
if(NOT globs MATCHES ":${preset_type}:\\*\\.tonset$")
  message(FATAL_ERROR "*.tonset is not ${preset_type} but '${globs}'; update-mime-database said:\n${output}")
endif()
file(REMOVE_RECURSE ${PREFIX})
