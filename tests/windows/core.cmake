# With the program's manifest, so the process code page is the program's.
zepton_test(core_store_test SOURCES core_store_test.cpp LIBS zepton_core zepton_resources zepton_testing)
# The test's own Recycle Bin under Wine, in the build folder (a Linux path).
target_compile_definitions(core_store_test PRIVATE RECYCLE_HOME="${CMAKE_CURRENT_BINARY_DIR}/core_store_test-home")
zepton_test(core_settings_test SOURCES core_settings_test.cpp LIBS zepton_core zepton_testing)
