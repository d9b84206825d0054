# Window utilities: the facade natively; the Windows utilities under Wine against real
# windows of this process and of a helper process, and the real hook.
list(APPEND CORE_TEST_SOURCES form/FormUtilsTests.cpp)
if(WIN32)
  orvella_add_test_program(form_tests SOURCES form/FormUtilsWinTests.cpp LIBS orvella_win gmock gtest)
  add_dependencies(form_tests test_window_app)
  set_tests_properties(form_tests PROPERTIES TIMEOUT 120)
endif()
