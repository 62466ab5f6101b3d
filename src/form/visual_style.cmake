# The drawn look of push buttons: the caption layout and the colours of each
# state are portable; taking controls over and drawing them is the platform's.
velmora_library(velmora_button_look caption_layout.cpp visual_style_look.cpp)
target_link_libraries(velmora_button_look PUBLIC velmora_host)
if(WIN32)
  velmora_library(velmora_visual_style visual_style.cpp visual_style_kind.cpp visual_style_paint.cpp)
  target_link_libraries(velmora_visual_style PUBLIC velmora_button_look velmora_system_library user32 gdi32)
endif()
