# Registry helpers and the URL scheme registration, against Wine's real registry and shell.
if(WIN32)
  orvella_add_windows_tool(scheme_recorder SOURCES scheme/SchemeRecorder.cpp LIBS shell32)
  orvella_add_test_program(scheme_tests
    SOURCES scheme/RegistryTests.cpp scheme/CustomSchemeTests.cpp
    LIBS orvella_win gmock gtest_main)
  add_dependencies(scheme_tests scheme_recorder)
  target_compile_definitions(scheme_tests PRIVATE
    ORVELLA_SCHEME_RECORDER="$<TARGET_FILE:scheme_recorder>")
endif()
