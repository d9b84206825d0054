# The command runner: the portable dispatch and facade natively, the Windows runner under
# Wine against a real child program.
list(APPEND CORE_TEST_SOURCES cli/CLITests.cpp)
if(WIN32)
  orvella_add_windows_tool(cli_child CONSOLE SOURCES cli/CliChild.cpp LIBS shell32)
  orvella_add_test_program(cli_tests SOURCES cli/CLIWinTests.cpp LIBS orvella_win gmock gtest_main)
  # The tests start the child from their own folder.
  add_dependencies(cli_tests cli_child)
endif()
