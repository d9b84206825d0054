# The URI generator: its rules are portable (core); its window is Windows-only.
list(APPEND ORVELLA_CORE_SOURCES
  generator/uCreateBIPRules.cpp
)
list(APPEND ORVELLA_WIN_SOURCES
  generator/uCreateBIPForm.cpp
)
