velmora_test(message_box_test SOURCES message_box_test.cpp LIBS velmora_message_box)
if(WIN32)
  velmora_test(message_box_windows_test SOURCES message_box_windows_test.cpp LIBS velmora_message_box)
endif()
