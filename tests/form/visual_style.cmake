velmora_test(caption_layout_test SOURCES caption_layout_test.cpp LIBS velmora_caption_layout)
if(WIN32)
  velmora_test(visual_style_test SOURCES visual_style_test.cpp LIBS velmora_visual_style velmora_message_box)
endif()
