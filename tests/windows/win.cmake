# The win/ headers refuse a UNICODE build and say why.
if(CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  add_test(NAME win_refuses_unicode
    COMMAND ${CMAKE_CXX_COMPILER} -fsyntax-only -DUNICODE -I${PROJECT_SOURCE_DIR}/win/include
            -x c++ ${PROJECT_SOURCE_DIR}/win/include/win/Handle.h)
  set_tests_properties(win_refuses_unicode PROPERTIES
    PASS_REGULAR_EXPRESSION "uses the A \\(ANSI\\) Win32 functions by design")
endif()
