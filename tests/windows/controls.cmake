# controls: the program's own components on real windows (needs a display)
zepton_test(controls_oval_button_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/OvalBtnTest.cpp LIBS zepton_controls)
zepton_test(controls_url_label_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/URLLabelTest.cpp LIBS zepton_controls zepton_resources)
