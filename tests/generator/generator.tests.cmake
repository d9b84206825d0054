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
  foreach(lang IN ITEMS ja en)
    if(lang STREQUAL "ja")
      set(locale ja_JP.UTF-8)
    else()
      set(locale en_US.UTF-8)
    endif()
    add_test(NAME generator_tests_captions_${lang}
             COMMAND generator_tests --gtest_color=no --gtest_filter=GeneratorCaptions.*)
    set_tests_properties(generator_tests_captions_${lang} PROPERTIES TIMEOUT 60
                         ENVIRONMENT "LANG=${locale};LC_ALL=${locale};ORVELLA_EXPECT_LANG=${lang}")
  endforeach()
endif()
