# Pictures: the kind test, JPEG decoding, icon and cursor files and the layout
# arithmetic are portable; making, drawing and painting them is Windows-only.
find_package(JPEG REQUIRED)
set(velmora_picture_sources
  picture_kind.cpp
  picture_pixels.cpp
  picture_jpeg.cpp
  picture_icon_file.cpp
  picture_layout.cpp
  picture_cursor_spec.cpp)
if(WIN32)
  list(APPEND velmora_picture_sources picture.cpp picture_paint.cpp picture_cursor.cpp)
endif()
velmora_library(velmora_picture ${velmora_picture_sources})
target_link_libraries(velmora_picture PRIVATE JPEG::JPEG)
if(WIN32)
  target_link_libraries(velmora_picture PUBLIC user32 gdi32)
endif()
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The fit of a picture is defined in double precision: x87 arithmetic in
  # extended precision gives 1279 × (788 / 1279) exactly 788, not just below.
  target_compile_options(velmora_picture PRIVATE -msse2 -mfpmath=sse)
endif()
