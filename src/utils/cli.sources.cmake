# The command runner: the portable facade and line dispatch, and the Windows runner.
list(APPEND ORVELLA_CORE_SOURCES utils/Nox.CLI.cpp)
list(APPEND ORVELLA_WIN_SOURCES utils/Nox.CLI.Win.cpp)
