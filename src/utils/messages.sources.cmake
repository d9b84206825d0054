# Localised messages and the dialog routines: portable, tested natively with a scripted
# dialog service and under Wine with the real one.
list(APPEND ORVELLA_CORE_SOURCES
  utils/uMessages.cpp
  utils/Nox.Utils.Dialogs.cpp
)
