velmora_test(button_look_test SOURCES caption_layout_test.cpp visual_style_look_test.cpp LIBS velmora_button_look)
if(WIN32)
  velmora_test(visual_style_test
    SOURCES visual_style_test.cpp visual_style_paint_test.cpp visual_style_fixtures.cpp picture_canvas.cpp
    LIBS velmora_visual_style velmora_message_box velmora_picture_fixtures)
  velmora_uses_screen(visual_style_test)
endif()
