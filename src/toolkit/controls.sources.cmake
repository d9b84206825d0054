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
# Animations are plain arithmetic over time, so they are portable too.
list(APPEND ORVELLA_CORE_SOURCES
  toolkit/Animations.cpp
)
# The pictures (resources/*.bmp, compiled in), their decoding and the effects' data and
# arithmetic are portable; drawing them is the Windows half's.
include(${CMAKE_CURRENT_LIST_DIR}/EmbedImageResources.cmake)
orvella_embed_image_resources(${CMAKE_CURRENT_BINARY_DIR}/generated/toolkit/ImageResources.cpp)
list(APPEND ORVELLA_CORE_SOURCES
  toolkit/Bitmap.cpp
  toolkit/Effects.cpp
  ${CMAKE_CURRENT_BINARY_DIR}/generated/toolkit/ImageResources.cpp
)
# Controls over Win32 and the forms built from a layout.
list(APPEND ORVELLA_WIN_SOURCES
  toolkit/BitmapPainter.cpp
  toolkit/Controls.cpp
  toolkit/ListBox.cpp
  toolkit/ComboBox.cpp
  toolkit/Popups.cpp
  toolkit/DesignedForm.cpp
)
