# Test programs of a cross build run under Wine in the build's own prefix. Started at once on a prefix that
# does not exist yet, they race to create it and some fail; and a program that starts while Wine's server
# ends, a few seconds after the last program did, loses its connection to it. So one setup test creates
# the prefix, then starts a server and Wine's own system programs that stay for the whole run, before any
# test program starts; one cleanup test ends them.
set(EP_WINE_PREFIX_FIXTURE wine_prefix)

function(ep_add_wine_prefix_setup)
  if(NOT EP_WINE64)
    return()
  endif()
  find_program(EP_WINESERVER NAMES wineserver64 wineserver HINTS /usr/lib/wine REQUIRED)
  # Without the overrides a new prefix offers to install Wine's .NET and HTML engines, which tests never use.
  set(environment env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDLLOVERRIDES=mscoree,mshtml=)
  # What stays in the background must not hold a test's output pipes open, or the test never ends.
  set(quiet "</dev/null >/dev/null 2>&1")
  add_test(NAME WinePrefix
    COMMAND ${environment} sh -c
            "\"$0\" wineboot --init ${quiet} && \"$1\" -w && \"$1\" -p ${quiet} && \"$0\" wineboot ${quiet}"
            ${EP_WINE64} ${EP_WINESERVER})
  add_test(NAME WineServerEnd COMMAND ${environment} ${EP_WINESERVER} -k)
  set_tests_properties(WinePrefix PROPERTIES FIXTURES_SETUP ${EP_WINE_PREFIX_FIXTURE} TIMEOUT 300)
  set_tests_properties(WineServerEnd PROPERTIES FIXTURES_CLEANUP ${EP_WINE_PREFIX_FIXTURE})
endfunction()

# Makes the test wait for the prefix when it runs under Wine.
function(ep_run_after_wine_prefix test)
  if(EP_WINE64)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${EP_WINE_PREFIX_FIXTURE})
  endif()
endfunction()
