# Turns the XPM sources into the .ico/.cur/.bmp files the resource script names.
# xpmconv runs on the build machine: when cross-compiling it is built with the
# host's own compiler, otherwise as an ordinary target.
# Defines the target zepton_pictures, the variables ZEPTON_PICTURES (the generated files)
# and ZEPTON_PICTURES_DIR (where they are), and the global property ZEPTON_XPMCONV.
# Tool-button pictures: one 112 x 16 strip (index 0 to 6 left to right), mask colour fuchsia.
# Trash and Close glyphs: 32 x 16 (normal, then the generated grey disabled look), mask colour olive.
# About picture: the 32 x 32 icon picture as a 256-colour bitmap on the button-face grey.

set(_xpm ${CMAKE_CURRENT_LIST_DIR})
set(_out ${CMAKE_BINARY_DIR}/resources)
file(MAKE_DIRECTORY ${_out})

if(CMAKE_CROSSCOMPILING)
  find_program(ZEPTON_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(_xpmconv ${_out}/xpmconv-host)
  add_custom_command(OUTPUT ${_xpmconv}
    COMMAND ${ZEPTON_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -o ${_xpmconv} ${_xpm}/xpmconv.cpp
    DEPENDS ${_xpm}/xpmconv.cpp
    COMMENT "Building xpmconv for the build machine")
  set(_xpmconv_dep ${_xpmconv})
else()
  add_executable(xpmconv ${_xpm}/xpmconv.cpp)
  target_link_libraries(xpmconv PRIVATE zepton_flags)
  set(_xpmconv $<TARGET_FILE:xpmconv>)
  set(_xpmconv_dep xpmconv)
endif()

set(ZEPTON_PICTURES)
# _zepton_picture(<output> <kind> [options] <inputs relative to resources/...>)
function(_zepton_picture output kind)
  set(args)
  set(deps)
  foreach(a IN LISTS ARGN)
    if(a MATCHES "\\.xpm$")
      list(APPEND args ${_xpm}/${a})
      list(APPEND deps ${_xpm}/${a})
    else()
      list(APPEND args ${a})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${_out}/${output}
    COMMAND ${_xpmconv} ${kind} ${_out}/${output} ${args}
    DEPENDS ${_xpmconv_dep} ${deps}
    COMMENT "xpmconv ${output}")
  set(ZEPTON_PICTURES ${ZEPTON_PICTURES} ${_out}/${output} PARENT_SCOPE)
endfunction()

_zepton_picture(zepton.ico ico zepton-16.xpm zepton-32.xpm)
_zepton_picture(urlcursor.cur cur urlcursor.xpm)
_zepton_picture(toolbuttons.bmp bmp --transparent ff00ff
  tool-blank.xpm tool-exit.xpm tool-groups.xpm tool-help.xpm tool-autorun.xpm tool-about.xpm tool-allshortcuts.xpm)
_zepton_picture(trash.bmp bmp --transparent 808000 --bpp 4 --disabled glyph-trash.xpm)
_zepton_picture(close.bmp bmp --transparent 808000 --bpp 4 --disabled glyph-close.xpm)
_zepton_picture(about.bmp bmp --transparent c0c0c0 --bpp 8 zepton-32.xpm)

add_custom_target(zepton_pictures DEPENDS ${ZEPTON_PICTURES})
set(ZEPTON_PICTURES_DIR ${_out})
# For the tests, which live in other directories.
set_property(GLOBAL PROPERTY ZEPTON_XPMCONV ${_xpmconv})
