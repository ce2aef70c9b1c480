# controls: the program's own components on real windows (needs a display)
zepton_test(controls_oval_button_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/OvalBtnTest.cpp LIBS zepton_controls)
zepton_test(controls_simple_timer_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SimpleTimerTest.cpp LIBS zepton_controls)
zepton_test(controls_tray_icon_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/CoolTrayIconTest.cpp LIBS zepton_controls)
