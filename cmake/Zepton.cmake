# Project-wide compiler settings and helpers. Nothing here is global: the
# project's own targets link these interface targets, so GoogleTest keeps its
# own flags.

# Loud warnings on every compiler (MinGW and Clang share the GCC spelling),
# links that give the same bytes for the same sources, and the sanitizers when asked.
add_library(zepton_flags INTERFACE)
target_compile_options(zepton_flags INTERFACE
  "$<$<CXX_COMPILER_ID:GNU,Clang>:-Wall;-Wextra>"
  "$<$<CXX_COMPILER_ID:MSVC>:/W4;/EHsc;/utf-8;/Brepro>")
if(MINGW)
  # Each function and object in a section of its own, so that the program's link
  # can drop what nothing uses (ui/CMakeLists.txt).
  target_compile_options(zepton_flags INTERFACE -ffunction-sections -fdata-sections)
  # The objects also carry the compiler's own form, for the program's link-time
  # optimisation (ui/CMakeLists.txt); every other link takes their ordinary code.
  target_compile_options(zepton_flags INTERFACE "$<$<CONFIG:MinSizeRel,Release>:-flto;-ffat-lto-objects>")
  target_link_options(zepton_flags INTERFACE "$<$<CONFIG:MinSizeRel,Release>:-fno-lto>")
  target_link_options(zepton_flags INTERFACE -Wl,--no-insert-timestamp)
elseif(MSVC)
  target_link_options(zepton_flags INTERFACE /Brepro)
endif()
if(ZEPTON_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
    message(FATAL_ERROR "ZEPTON_SANITIZE needs GCC or Clang, not ${CMAKE_CXX_COMPILER_ID}")
  endif()
  target_compile_options(zepton_flags INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                                -fno-omit-frame-pointer)
  target_link_options(zepton_flags INTERFACE -fsanitize=address,undefined)
endif()

# zepton_console(<target>): tests and benchmarks are console programs.
function(zepton_console target)
  if(MINGW)
    target_link_options(${target} PRIVATE -mconsole)
  endif()
endfunction()

# zepton_test(<name> SOURCES <files...> LIBS <targets...>)
# One CTest entry per test executable; CTest runs Windows ones under Wine.
function(zepton_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main zepton_flags)
  zepton_console(${name})
  add_test(NAME ${name} COMMAND ${name})
  # Wine's Recycle Bin is $XDG_DATA_HOME/Trash, else the Linux user's own: here
  # a folder nobody makes, so that Wine deletes for good, as Windows does where
  # there is no Recycle Bin. A test that looks into one makes its own.
  if(WIN32)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/${name}-home)
  endif()
endfunction()
