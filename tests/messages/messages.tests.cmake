# Messages and dialog routines: natively with scripted services; under Wine a real
# MessageBoxW answered by the dialog robot.
list(APPEND CORE_TEST_SOURCES
  messages/MessagesTests.cpp
  messages/DialogsTests.cpp
)
