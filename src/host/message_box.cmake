# Message boxes: the display texts and the codes that cross over to the
# platform are portable; showing the box is the platform's.
set(velmora_message_box_sources message_value.cpp message_box_codes.cpp)
if(WIN32)
  list(APPEND velmora_message_box_sources message_box.cpp)
endif()
velmora_library(velmora_message_box ${velmora_message_box_sources})
if(WIN32)
  target_link_libraries(velmora_message_box PUBLIC user32)
endif()
