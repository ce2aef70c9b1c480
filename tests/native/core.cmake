zepton_test(core_text_test SOURCES core_text_test.cpp LIBS zepton_core_pure)
