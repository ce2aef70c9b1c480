# cmake -DOBJDUMP=<objdump> -DEXE=<program> -DLOOKED_UP=<function;...> -P check_imports.cmake
# Functions that an older Windows lacks are looked up by name at run time: an
# import of one would keep the program from starting there at all.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE imports RESULT_VARIABLE failed)
if(failed OR NOT imports MATCHES "DLL Name: USER32.dll")
  message(FATAL_ERROR "Cannot read the imports of ${EXE}")
endif()
foreach(function IN LISTS LOOKED_UP)
  if(imports MATCHES "[ \t]${function}\n")
    message(SEND_ERROR "${EXE} imports ${function}")
  endif()
  file(STRINGS ${EXE} names REGEX "${function}")
  if(NOT names)
    message(SEND_ERROR "${EXE} never names ${function} to look it up")
  endif()
endforeach()
