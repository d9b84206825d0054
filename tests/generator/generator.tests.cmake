# The generator's rules (portable).
list(APPEND CORE_TEST_SOURCES
  generator/uCreateBIPRulesTests.cpp
)

# The generator window under Wine, with a screen.
if(WIN32)
  orvella_add_test_program(generator_tests
    SOURCES generator/CreateBIPFormTests.cpp
    LIBS orvella_win gmock gtest_main)
  set_tests_properties(generator_tests PROPERTIES TIMEOUT 120)
endif()
