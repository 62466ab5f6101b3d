# The drawn look of push buttons: caption layout is portable, the rest is the
# platform's subclassing and drawing.
velmora_library(velmora_caption_layout caption_layout.cpp)
target_link_libraries(velmora_caption_layout PUBLIC velmora_host)
if(WIN32)
  velmora_library(velmora_visual_style visual_style.cpp)
  target_link_libraries(velmora_visual_style PUBLIC velmora_caption_layout user32 gdi32 msimg32 comctl32)
endif()
