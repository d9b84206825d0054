# Messages and dialog routines: natively with scripted services; under Wine a real
# MessageBoxW answered by the dialog robot.
list(APPEND CORE_TEST_SOURCES
  messages/MessagesTests.cpp
  messages/DialogsTests.cpp
)
if(WIN32)
  orvella_add_test_program(messages_tests
    SOURCES messages/DialogsWinTests.cpp
    LIBS orvella_win gmock gtest_main)
  target_compile_definitions(messages_tests PRIVATE ORVELLA_DIALOG_ROBOT="$<TARGET_FILE:dialog-robot>")
  add_dependencies(messages_tests dialog-robot)
  set_tests_properties(messages_tests PROPERTIES TIMEOUT 120)
endif()
