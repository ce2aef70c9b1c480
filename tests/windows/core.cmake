zepton_test(core_store_test SOURCES core_store_test.cpp LIBS zepton_core)
zepton_test(core_settings_test SOURCES core_settings_test.cpp LIBS zepton_core)
