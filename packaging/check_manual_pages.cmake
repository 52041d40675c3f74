# Installs the build into a temporary prefix and reads each installed manual page as man shows it: every
# command and every option that the program's --help names must be in it.
include(${CMAKE_CURRENT_LIST_DIR}/install_into_prefix.cmake)

foreach(program effectpanel effectpanel-cli effectpanel-sim)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${BUILD_DIR}/${program} --help
                  OUTPUT_VARIABLE help RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${program} --help: exit status ${result}")
  endif()
  # Wide and without hyphenation, so that no name is broken over two lines.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=250 MAN_KEEP_FORMATTING=
                          man --nh --nj -l ${PREFIX}/share/man/man1/${program}.1.gz
                  OUTPUT_VARIABLE page RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0 OR NOT errors STREQUAL "")
    message(FATAL_ERROR "man ${program}: exit status ${result}: ${errors}")
  endif()
  # man draws a hyphen of running text as U+2010.
  string(REPLACE "‐" "-" page "${page}")

  # An option follows a blank, a comma or a bracket; brackets are made blanks first, as a CMake list
  # does not split at a ';' inside one.
  string(REGEX REPLACE "[][]" " " flat "${help}")
  string(REGEX MATCHALL "[ ,\n]--?[a-zA-Z][-a-zA-Z]*" options "${flat}")
  set(names)
  foreach(option ${options})
    string(REGEX REPLACE "^[ ,\n]" "" option "${option}")
    list(APPEND names ${option})
  endforeach()
  # The commands: the first word of each line of the Commands section.
  if(help MATCHES "\nCommands:\n(.*)\n\nOptions:")
    string(REGEX MATCHALL "\n  [a-z]+" commands "\n${CMAKE_MATCH_1}")
    foreach(command ${commands})
      string(STRIP "${command}" command)
      list(APPEND names ${command})
    endforeach()
  endif()
  list(REMOVE_DUPLICATES names)
  list(LENGTH names count)
  if(count LESS 3)
    message(FATAL_ERROR "${program} --help names only: ${names}")
  endif()
  foreach(name ${names})
    string(FIND "${page}" "${name}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "man ${program} does not name ${name}, which its --help names:\n${page}")
    endif()
  endforeach()
  message(STATUS "man ${program} names all ${count} of --help: ${names}")
endforeach()
file(REMOVE_RECURSE ${PREFIX})
