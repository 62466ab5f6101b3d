# The form description: reader, records, type numbering, property blobs.
velmora_test(form_description_test
  SOURCES form_description_test.cpp unit_record_test.cpp unit_types_test.cpp
          description_fixtures.cpp
  LIBS velmora_form_description)
velmora_test(property_blobs_test SOURCES property_blobs_test.cpp LIBS velmora_form_description)

# The carried form, laid out by the build's tool from src/assets/form.txt with
# two small stand-in pictures, so that it is checked whether or not the art
# is there; the program's own block is checked too when it is.
set(small_background "a stand-in background picture")
set(small_icon "a stand-in icon")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/small_background.jpg "${small_background}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/small_icon.ico "${small_icon}")
set(small_form ${CMAKE_CURRENT_BINARY_DIR}/small_form.bin)
add_custom_command(OUTPUT ${small_form}
  COMMAND ${VELMORA_TOOL_make_form} ${PROJECT_SOURCE_DIR}/src/assets/form.txt ${small_form}
          background=${CMAKE_CURRENT_BINARY_DIR}/small_background.jpg icon=${CMAKE_CURRENT_BINARY_DIR}/small_icon.ico
  DEPENDS ${VELMORA_TOOLS_DEPEND} ${PROJECT_SOURCE_DIR}/src/assets/form.txt
  COMMENT "Laying out the form with small pictures")
add_custom_target(small_form_file DEPENDS ${small_form})

velmora_test(carried_form_test SOURCES carried_form_test.cpp LIBS velmora_form_description)
add_dependencies(carried_form_test small_form_file)
velmora_embed(carried_form_test velmora_small_form ${small_form})
target_compile_definitions(carried_form_test PRIVATE
  SMALL_BACKGROUND="${small_background}" SMALL_ICON="${small_icon}")
if(EXISTS ${VELMORA_FORM_BACKGROUND} AND EXISTS ${VELMORA_FORM_ICON})
  target_link_libraries(carried_form_test PRIVATE velmora_form_block)
  target_compile_definitions(carried_form_test PRIVATE
    FORM_BACKGROUND_FILE="${VELMORA_FORM_BACKGROUND}" FORM_ICON_FILE="${VELMORA_FORM_ICON}")
endif()
