# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# Where wine is installed, ctest runs the tests under it, in a wine prefix of the
# build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix) # GoogleTest's build asks for C too
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's "wine" is a script that warns on standard error when 32-bit wine is
# missing; the 64-bit loader itself is quiet.
find_program(WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(WINE64 NAMES wine64)
# With address space randomisation, wine now and then finds the shared user data's
# fixed address taken and exits 1 before the program starts (2 launches in 5,000
# here); without it, none in 10,000.
find_program(SETARCH setarch)
if(WINE64)
  set(WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${WINEPREFIX} ${WINE64})
  if(SETARCH)
    list(PREPEND CMAKE_CROSSCOMPILING_EMULATOR ${SETARCH} -R)
  endif()
endif()
