# The built program, run from a program folder of its own on a temporary Desktop.
zepton_test(e2e_ui_program_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProgramRunTest.cpp LIBS zepton_core zepton_testing shell32)
# The test copies the executable from the build folder, a Linux path that Wine maps to its own.
target_compile_definitions(e2e_ui_program_test PRIVATE ZEPTON_EXE="$<TARGET_FILE:zepton>")
add_dependencies(e2e_ui_program_test zepton)
# Not a test: brings the running program to the views of the README's screenshots.
add_executable(screenshot_driver ${CMAKE_CURRENT_LIST_DIR}/ScreenshotDriver.cpp)
target_link_libraries(screenshot_driver PRIVATE zepton_testing zepton_flags)
zepton_console(screenshot_driver)
