# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (g++-mingw-w64-x86-64-posix), whose
# POSIX thread model provides std::thread and std::mutex. Use with -DCMAKE_TOOLCHAIN_FILE=this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${EP_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static executables run without the compiler's DLLs beside them, under Wine as on Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 installs its loader outside PATH. It runs the console test programs, without its
# debugging messages, in a Wine prefix of the build's own, which the first run creates.
find_program(EP_WINE64 wine64 HINTS /usr/lib/wine)
if(EP_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${EP_WINE64})
endif()
