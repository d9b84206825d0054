# The toolkit's portable half runs with the core tests; its Windows half under Wine.
list(APPEND CORE_TEST_SOURCES
  toolkit/ThreadTests.cpp
  toolkit/MessagingTests.cpp
  toolkit/DialogServiceTests.cpp
)
if(WIN32)
  orvella_add_test_program(toolkit_tests
    SOURCES toolkit/ApplicationTests.cpp
    LIBS orvella_win gmock gtest_main)
  set_tests_properties(toolkit_tests PROPERTIES TIMEOUT 120)
endif()
