# The program's resources as the running executable sees them.
zepton_test(resources_windows SOURCES ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  LIBS zepton_resources zepton_win zepton_toolkit comctl32 version)
