# The toolkit: its portable half (deferred calls, messages, service interfaces, dialog
# service) is in the core and tested natively; its Windows half is in orvella_win.
list(APPEND ORVELLA_CORE_SOURCES
  toolkit/Thread.cpp
  toolkit/Messaging.cpp
  toolkit/DialogService.cpp
)
list(APPEND ORVELLA_WIN_SOURCES
  toolkit/PlatformWin.cpp
  toolkit/Forms.cpp
  toolkit/Screen.cpp
  toolkit/WinServices.cpp
)
