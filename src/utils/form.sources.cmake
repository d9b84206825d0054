# Window utilities: the portable facade and interfaces, and the Windows implementation
# with its minimise/restore hook.
list(APPEND ORVELLA_CORE_SOURCES utils/Nox.Utils.Form.cpp)
list(APPEND ORVELLA_WIN_SOURCES utils/Nox.Utils.Form.Win.cpp)
