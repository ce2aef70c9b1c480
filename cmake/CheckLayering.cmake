# cmake -DROOT=<source folder> -P CheckLayering.cmake
# Fails when a layer includes or links one it must not know. The arrows point
# one way: core and toolkit use win; controls uses toolkit; ui knows all of
# them, and only the benchmarks above it know ui.
cmake_minimum_required(VERSION 3.25)
set(layers win core toolkit controls ui bench)
set(allowed_win "")
set(allowed_core win)
set(allowed_toolkit win)
set(allowed_controls win toolkit)
set(allowed_ui win core toolkit controls)

set(failures 0)
foreach(layer win core toolkit controls ui)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/CMakeLists.txt)
  foreach(file IN LISTS files)
    # "layer/Header.h" in an include, zepton_layer in a link.
    file(STRINGS ${file} lines REGEX "(#[ \t]*include[ \t]*\"[a-z]+/|zepton_[a-z]+)")
    foreach(line IN LISTS lines)
      string(REGEX MATCHALL "(\"[a-z]+/|zepton_[a-z]+)" uses "${line}")
      foreach(use IN LISTS uses)
        string(REGEX REPLACE "^(\"|zepton_)([a-z]+).*" "\\2" used "${use}")
        if(used IN_LIST layers AND NOT used STREQUAL layer AND NOT used IN_LIST allowed_${layer})
          message(SEND_ERROR "${layer} must not use ${used}: ${file}: ${line}")
          math(EXPR failures "${failures} + 1")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()
if(failures EQUAL 0)
  message(STATUS "layering: every arrow points one way")
endif()
