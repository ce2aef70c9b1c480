# toolkit: the Win32-free names of keys
zepton_test(toolkit_shortcut_test SOURCES ShortCutTest.cpp ${PROJECT_SOURCE_DIR}/toolkit/ShortCut.cpp)
target_include_directories(toolkit_shortcut_test PRIVATE ${PROJECT_SOURCE_DIR})
