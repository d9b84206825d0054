# The layout engine, the layout reader and loader, and caption translation: portable.
list(APPEND CORE_TEST_SOURCES
  layout/LayoutTests.cpp
  layout/FormResourceTests.cpp
  layout/FormLayoutTests.cpp
  layout/LangTests.cpp
  layout/AnimationTests.cpp
)
