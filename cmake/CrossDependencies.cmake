# A cross build finds no packages for its target system, so the two that are not Qt come from the build
# machine's Debian packages: nlohmann-json's headers (header-only) and GoogleTest built from the sources
# that libgtest-dev ships, linked statically into each test program.

set(EP_JSON_HEADERS /usr/include/nlohmann CACHE PATH "The build machine's nlohmann-json headers")
set(EP_GTEST_SOURCES /usr/src/gtest CACHE PATH "GoogleTest's sources, as libgtest-dev ships them")

# The headers are linked into a folder of their own: the build machine's include folder itself would
# put its C library's headers in front of the target's.
set(json_include ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${json_include})
file(CREATE_LINK ${EP_JSON_HEADERS} ${json_include}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${json_include})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)

# Third-party code: its warnings are not ours to fix.
add_library(ep_gtest STATIC ${EP_GTEST_SOURCES}/src/gtest-all.cc)
target_include_directories(ep_gtest SYSTEM PUBLIC ${EP_GTEST_SOURCES}/include)
target_include_directories(ep_gtest PRIVATE ${EP_GTEST_SOURCES})
target_compile_options(ep_gtest PRIVATE -w)
target_link_libraries(ep_gtest PUBLIC Threads::Threads)
add_library(ep_gtest_main STATIC ${EP_GTEST_SOURCES}/src/gtest_main.cc)
target_link_libraries(ep_gtest_main PUBLIC ep_gtest)
target_compile_options(ep_gtest_main PRIVATE -w)
add_library(GTest::gtest ALIAS ep_gtest)
add_library(GTest::gtest_main ALIAS ep_gtest_main)
