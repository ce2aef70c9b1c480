# The main window in-process, on temporary folders and a temporary settings key.
zepton_test(ui_main_form_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainFormTest.cpp
  LIBS zepton_ui zepton_resources zepton_testing oleacc oleaut32 ole32)
target_compile_definitions(ui_main_form_test PRIVATE ZEPTON_HELP_DIR="${PROJECT_SOURCE_DIR}/help")
zepton_test(ui_info_form_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/InfoFormTest.cpp
  LIBS zepton_ui zepton_resources zepton_testing oleacc oleaut32 ole32)
# The groups configuration and preview windows on temporary folders.
zepton_test(ui_group_windows_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/GroupWindowsTest.cpp
  LIBS zepton_ui zepton_resources zepton_testing oleacc oleaut32 ole32 uuid)
# Every window at 144 dots per inch against the same at 96 (runs itself a second time at 144).
zepton_test(ui_scale_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScaleTest.cpp LIBS zepton_ui zepton_resources zepton_testing)
