# Process and system utilities: date-time text natively; the elevated start, the restart,
# the executable behind a window and the version resource under Wine.
list(APPEND CORE_TEST_SOURCES system/DateTimeTests.cpp)

if(WIN32)
  orvella_add_windows_tool(test_window_app SOURCES system/helpers/TestWindowApp.cpp LIBS orvella_core)
  orvella_add_windows_tool(version_probe CONSOLE SOURCES system/helpers/VersionProbe.cpp system/helpers/VersionProbe.rc
                           LIBS orvella_core)
  orvella_add_windows_tool(version_probe_plain CONSOLE SOURCES system/helpers/VersionProbe.cpp LIBS orvella_core)

  orvella_add_test_program(system_tests SOURCES system/SystemTests.cpp LIBS orvella_win gmock gtest)
  add_dependencies(system_tests test_window_app version_probe version_probe_plain)
endif()
