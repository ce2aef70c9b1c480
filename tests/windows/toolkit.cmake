# The toolkit: its window core, controls and forms in real windows.
# With the program's manifest, so the process code page is the program's.
zepton_test(toolkit_controls_test SOURCES ToolkitControlsTest.cpp LIBS zepton_toolkit zepton_resources)
zepton_test(toolkit_forms_test SOURCES ToolkitFormsTest.cpp LIBS zepton_toolkit)
zepton_test(toolkit_core_test SOURCES ToolkitCoreTest.cpp LIBS zepton_toolkit)
