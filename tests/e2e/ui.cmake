# The built program, run from a program folder of its own on a temporary Desktop.
zepton_test(e2e_ui_program_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProgramRunTest.cpp LIBS zepton_core shell32)
target_include_directories(e2e_ui_program_test PRIVATE ${PROJECT_SOURCE_DIR})
# The test copies the executable from the build folder, which Wine sees as Z:.
target_compile_definitions(e2e_ui_program_test PRIVATE ZEPTON_EXE="$<TARGET_FILE:zepton>")
add_dependencies(e2e_ui_program_test zepton)
