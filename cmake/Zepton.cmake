# Project-wide compiler settings and helpers.

# Loud warnings on every compiler; MinGW and Clang share the GCC spelling.
add_compile_options(
  "$<$<CXX_COMPILER_ID:GNU,Clang>:-Wall;-Wextra>"
  "$<$<CXX_COMPILER_ID:MSVC>:/W4;/EHsc;/utf-8>")

if(WIN32)
  # The program works in 8-bit ANSI strings: never let UNICODE switch the A/W macros.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

if(ZEPTON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# zepton_test(<name> SOURCES <files...> LIBS <targets...>)
# One CTest entry per test executable; CTest runs Windows ones under Wine.
function(zepton_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Windows tests are console programs.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name})
endfunction()
