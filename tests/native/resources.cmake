# The pictures as xpmconv writes them, read back byte by byte, and xpmconv's refusals.
if(NOT TARGET zepton_pictures)  # builds without the resources directory (native)
  include(${PROJECT_SOURCE_DIR}/resources/pictures.cmake)
endif()
zepton_test(resources_xpmconv SOURCES ${CMAKE_CURRENT_LIST_DIR}/xpmconv_test.cpp)
add_dependencies(resources_xpmconv zepton_pictures)
target_compile_definitions(resources_xpmconv PRIVATE ZEPTON_PICTURES_DIR="${CMAKE_BINARY_DIR}/resources")

get_property(_xpmconv GLOBAL PROPERTY ZEPTON_XPMCONV)
foreach(case IN ITEMS
    "cur;unknown-key.xpm;unknown colour key 'x'"
    "cur;short-row.xpm;row 2 has the wrong length"
    "cur;hotspot-outside.xpm;hot spot outside the picture"
    "cur;colour-cursor.xpm;only black, white and None"
    "bmp;${PROJECT_SOURCE_DIR}/resources/urlcursor.xpm;None pixels: give --transparent"
    "bmp;--transparent;ff0000;colour-cursor.xpm;uses its own transparent colour")
  list(POP_FRONT case kind)
  list(POP_BACK case message)
  list(TRANSFORM case REPLACE "^([^/]*\\.xpm)$" "${CMAKE_CURRENT_LIST_DIR}/xpm/\\1")
  list(GET case -1 input)
  get_filename_component(name ${input} NAME_WE)
  add_test(NAME resources_xpmconv_${kind}_rejects_${name}
    COMMAND ${_xpmconv} ${kind} ${CMAKE_CURRENT_BINARY_DIR}/rejected.${kind} ${case})
  set_tests_properties(resources_xpmconv_${kind}_rejects_${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "xpmconv: .*${message}")
endforeach()
