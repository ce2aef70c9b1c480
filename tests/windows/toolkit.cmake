# The toolkit: its window core, controls and forms in real windows.
# With the program's manifest, so the process code page is the program's.
zepton_test(toolkit_controls_test SOURCES ToolkitControlsTest.cpp LIBS zepton_toolkit zepton_resources)
zepton_test(toolkit_forms_test SOURCES ToolkitFormsTest.cpp LIBS zepton_toolkit)
zepton_test(toolkit_core_test SOURCES ToolkitCoreTest.cpp LIBS zepton_toolkit)
# Assistive technology's DLLs come with its first question, and msimg32 with the
# first transparent picture, never at start.
if(CMAKE_OBJDUMP)
  add_test(NAME toolkit_dlls_looked_up_at_run_time
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:zepton>
            "-DLOOKED_UP=CreateStdAccessibleObject$<SEMICOLON>LresultFromObject$<SEMICOLON>AccessibleObjectFromWindow$<SEMICOLON>SysAllocStringLen$<SEMICOLON>TransparentBlt"
            -P ${CMAKE_CURRENT_LIST_DIR}/check_imports.cmake)
endif()
