# ui: the Win32-free command line
zepton_test(ui_command_line_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommandLineTest.cpp LIBS zepton_ui_pure)
