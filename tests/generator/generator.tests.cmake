# The generator's rules (portable).
list(APPEND CORE_TEST_SOURCES
  generator/uCreateBIPRulesTests.cpp
)

# The generator window under Wine, with a screen.
if(WIN32)
  orvella_add_test_program(generator_tests
    SOURCES generator/CreateBIPFormTests.cpp
    LIBS orvella_win gmock gtest_main
    ARGS --gtest_filter=-GeneratorCaptions.*)
  set_tests_properties(generator_tests PROPERTIES TIMEOUT 120)
endif()

# The captions in the user's language, as Wine takes it from LANG.
if(WIN32)
  orvella_add_language_runs(generator_tests GeneratorCaptions.*)
endif()
