# The toolkit's layout engine, window layouts (resources/*.layout, compiled in) and their
# loader, and the translation of captions: portable, in the core, tested natively.
include(${CMAKE_CURRENT_LIST_DIR}/EmbedFormResources.cmake)
orvella_embed_form_resources(${CMAKE_CURRENT_BINARY_DIR}/generated/toolkit/FormResources.cpp)
list(APPEND ORVELLA_CORE_SOURCES
  toolkit/Layout.cpp
  toolkit/FormResource.cpp
  toolkit/FormLoader.cpp
  toolkit/Lang.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/generated/toolkit/FormResources.cpp
)
