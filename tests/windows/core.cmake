# With the program's manifest, so the process code page is the program's.
zepton_test(core_store_test SOURCES core_store_test.cpp LIBS zepton_core zepton_resources zepton_testing)
zepton_test(core_settings_test SOURCES core_settings_test.cpp LIBS zepton_core zepton_testing)
