# Sets gtest_instalado_liga when a test linked with the installed GoogleTest builds
# with this compiler and these flags: one built for libstdc++ does not link with libc++.
# Tried again only when the compiler or the flags change.
set(gtest_liga_com "${CMAKE_CXX_COMPILER} ${CMAKE_CXX_FLAGS}")
if(DEFINED gtest_instalado_liga AND gtest_liga_tentado_com STREQUAL gtest_liga_com)
  return()
endif()
set(gtest_liga_tentado_com "${gtest_liga_com}" CACHE INTERNAL "")
set(pasta ${CMAKE_CURRENT_BINARY_DIR}/liga_gtest)
file(WRITE ${pasta}/fonte/CMakeLists.txt [[
cmake_minimum_required(VERSION 3.20)
project(liga_gtest CXX)
find_package(GTest REQUIRED)
add_executable(liga liga.cpp)
target_link_libraries(liga GTest::gtest_main)
]])
file(WRITE ${pasta}/fonte/liga.cpp [[
#include <gtest/gtest.h>
TEST(Liga, Liga) { EXPECT_EQ(1, 1); }
]])
try_compile(gtest_instalado_liga ${pasta}/construcao ${pasta}/fonte liga_gtest
  CMAKE_FLAGS -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
              -DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS})
