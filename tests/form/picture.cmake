# Pictures: the portable rules in both builds; decoding to icons, drawing,
# painting windows and making pointers under Wine.
find_package(JPEG REQUIRED)
add_library(velmora_picture_fixtures STATIC picture_fixtures.cpp)
target_include_directories(velmora_picture_fixtures PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(velmora_picture_fixtures PUBLIC velmora_test_support JPEG::JPEG)
target_compile_options(velmora_picture_fixtures PRIVATE ${VELMORA_WARNINGS})
target_compile_definitions(velmora_picture_fixtures PRIVATE VELMORA_ART_DIR="${PROJECT_SOURCE_DIR}/src/assets/art")

velmora_test(picture_test
  SOURCES picture_kind_test.cpp picture_jpeg_test.cpp picture_icon_file_test.cpp picture_layout_test.cpp
          picture_cursor_spec_test.cpp
  LIBS velmora_picture velmora_picture_fixtures)

if(WIN32)
  # The test program carries the hand cursor as resource 1032, like the
  # installer.
  enable_language(RC)
  set(cursor_rc ${CMAKE_CURRENT_BINARY_DIR}/picture_windows_test.rc)
  file(CONFIGURE OUTPUT ${cursor_rc} CONTENT "1032 CURSOR \"${PROJECT_SOURCE_DIR}/src/assets/art/hand.cur\"\n")
  set_source_files_properties(${cursor_rc} PROPERTIES OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/src/assets/art/hand.cur)
  velmora_test(picture_windows_test
    SOURCES picture_windows_test.cpp picture_paint_test.cpp picture_cursor_test.cpp picture_canvas.cpp ${cursor_rc}
    LIBS velmora_picture velmora_picture_fixtures)
  velmora_uses_screen(picture_windows_test)
endif()
