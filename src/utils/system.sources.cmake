# Process and system utilities: the version, the elevated start, the restart, the
# executable behind a window, and date-time text.
list(APPEND ORVELLA_CORE_SOURCES
  utils/Nox.Utils.DateTime.cpp
  utils/Nox.Utils.Application.cpp
)
list(APPEND ORVELLA_CORE_NATIVE_SOURCES rtl/FileVersion.Native.cpp)
list(APPEND ORVELLA_CORE_WIN_SOURCES rtl/FileVersion.Win.cpp)
list(APPEND ORVELLA_CORE_WIN_LIBS version)
list(APPEND ORVELLA_WIN_SOURCES
  utils/Nox.Utils.RunAsAdmin.Win.cpp
  utils/Nox.Utils.Shutdown.Win.cpp
  utils/Nox.Utils.ProcessSnap.Win.cpp
)
