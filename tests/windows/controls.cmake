# controls: the program's own components on real windows (needs a display)
zepton_test(controls_oval_button_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/OvalBtnTest.cpp LIBS zepton_controls)
zepton_test(controls_url_label_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/URLLabelTest.cpp LIBS zepton_controls zepton_resources)
zepton_test(controls_simple_timer_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/SimpleTimerTest.cpp LIBS zepton_controls)
zepton_test(controls_tray_icon_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/CoolTrayIconTest.cpp LIBS zepton_controls)
# The tray icon lets "TaskbarCreated" through to an elevated program, and asks where its icon is, where Windows can.
if(CMAKE_OBJDUMP)
  add_test(NAME controls_looked_up_at_run_time
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:zepton>
            -DLOOKED_UP=ChangeWindowMessageFilterEx$<SEMICOLON>Shell_NotifyIconGetRect -P ${CMAKE_CURRENT_LIST_DIR}/check_imports.cmake)
endif()
