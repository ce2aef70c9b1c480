# controls: the Win32-free arithmetic of the controls
zepton_test(controls_colours_test SOURCES ColoursTest.cpp LIBS zepton_controls_pure)
zepton_test(controls_oval_layout_test SOURCES OvalLayoutTest.cpp LIBS zepton_controls_pure)
zepton_test(controls_url_link_test SOURCES URLLinkTest.cpp LIBS zepton_controls_pure)
