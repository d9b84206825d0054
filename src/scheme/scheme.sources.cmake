# Registry helpers and the URL scheme registration: they take HKEY, so Windows build only.
list(APPEND ORVELLA_WIN_SOURCES
  scheme/Nox.Utils.Registry.cpp
  scheme/Nox.Utils.CustomScheme.cpp
)
