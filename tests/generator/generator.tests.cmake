# The generator's rules (portable).
list(APPEND CORE_TEST_SOURCES
  generator/uCreateBIPRulesTests.cpp
)
