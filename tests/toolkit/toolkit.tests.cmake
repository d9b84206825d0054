# The toolkit's portable half runs with the core tests; its Windows half under Wine.
list(APPEND CORE_TEST_SOURCES
  toolkit/ThreadTests.cpp
  toolkit/MessagingTests.cpp
  toolkit/DialogServiceTests.cpp
  toolkit/BitmapTests.cpp
  toolkit/EffectsTests.cpp
)
if(WIN32)
  orvella_add_test_program(toolkit_tests
    SOURCES toolkit/ApplicationTests.cpp toolkit/WinServicesTests.cpp
    LIBS orvella_win gmock gtest_main)
  target_compile_definitions(toolkit_tests PRIVATE ORVELLA_DIALOG_ROBOT="$<TARGET_FILE:dialog-robot>")
  add_dependencies(toolkit_tests dialog-robot)
  set_tests_properties(toolkit_tests PROPERTIES TIMEOUT 120)
  # The user's language as Wine takes it from LANG.
  orvella_add_language_runs(toolkit_tests WinServicesTest.LocaleServiceAnswersTheUsersLanguage)

  # Drawing into real DCs and windows; the generator window needs the screen.
  orvella_add_test_program(drawing_tests
    SOURCES toolkit/DrawingTests.cpp
    LIBS orvella_win gmock gtest_main)
  set_tests_properties(drawing_tests PROPERTIES TIMEOUT 120)

  # The form base: styles, activation, popups, scale and deferred layout.
  orvella_add_test_program(form_base_tests
    SOURCES toolkit/FormBaseTests.cpp
    LIBS orvella_win gmock gtest_main)
  set_tests_properties(form_base_tests PROPERTIES TIMEOUT 120)
endif()
