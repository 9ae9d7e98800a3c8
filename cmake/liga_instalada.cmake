# Whether an installed library links here: one built for libstdc++ does not link
# with libc++, nor one built for Linux with a cross compiler.
include_guard(GLOBAL)

# Sets `resultado` when find_package(`pacote`) finds the library and a program of
# `codigo` linked with its target `alvo` builds with this compiler and these flags;
# the build is tried again only when the compiler or the flags change. The package is
# found in the caller's directory: its targets are there to link afterwards.
function(liga_instalada pacote alvo codigo resultado)
  find_package(${pacote} QUIET)
  if(NOT ${pacote}_FOUND)
    set(${resultado} FALSE PARENT_SCOPE)
    return()
  endif()
  set(com "${CMAKE_CXX_COMPILER} ${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
  if(DEFINED ${resultado} AND "${${resultado}_tentado_com}" STREQUAL com)
    return()
  endif()
  set(${resultado}_tentado_com "${com}" CACHE INTERNAL "")
  set(pasta ${CMAKE_CURRENT_BINARY_DIR}/liga_${pacote})
  file(WRITE ${pasta}/fonte/CMakeLists.txt "
cmake_minimum_required(VERSION 3.20)
project(liga_${pacote} CXX)
find_package(${pacote} REQUIRED)
add_executable(liga liga.cpp)
target_link_libraries(liga ${alvo})
")
  file(WRITE ${pasta}/fonte/liga.cpp "${codigo}")
  try_compile(${resultado} ${pasta}/construcao ${pasta}/fonte liga_${pacote}
    CMAKE_FLAGS -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
                -DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}
                -DCMAKE_EXE_LINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS})
endfunction()
