# The form engine on real windows under Wine: loading, the message loop,
# properties, events and fatal errors with test-only unit types, and the
# window and Button types on the program's own form.
if(WIN32)
  add_library(velmora_engine_fixtures STATIC engine_fixtures.cpp)
  target_include_directories(velmora_engine_fixtures PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(velmora_engine_fixtures PUBLIC velmora_form_units)
  target_compile_options(velmora_engine_fixtures PRIVATE ${VELMORA_WARNINGS})

  # What must happen in a fresh process: the message loop, whose start is
  # remembered for the whole process, and the fatal errors, which end it.
  add_executable(engine_probe engine_probe.cpp)
  target_link_libraries(engine_probe PRIVATE velmora_engine_fixtures)
  target_compile_options(engine_probe PRIVATE ${VELMORA_WARNINGS})

  velmora_test(engine_test SOURCES engine_test.cpp
    LIBS velmora_engine_fixtures velmora_installer_driver GTest::gmock)
  add_dependencies(engine_test engine_probe)
  target_compile_definitions(engine_test PRIVATE ENGINE_PROBE_EXE="$<TARGET_FILE:engine_probe>")
  set_tests_properties(engine_test PROPERTIES TIMEOUT 300)

  # The program's own form with the program's unit types and stand-ins for
  # the installer's handlers.
  add_library(velmora_carried_form_fixture STATIC engine_carried_form.cpp)
  target_link_libraries(velmora_carried_form_fixture PUBLIC velmora_engine_fixtures velmora_installer_logic)
  target_compile_options(velmora_carried_form_fixture PRIVATE ${VELMORA_WARNINGS})

  velmora_test(window_unit_test SOURCES window_unit_test.cpp picture_canvas.cpp
    LIBS velmora_carried_form_fixture velmora_installer_driver velmora_picture_fixtures)
  set_tests_properties(window_unit_test PROPERTIES TIMEOUT 300)

  velmora_test(button_unit_test SOURCES button_unit_test.cpp
    LIBS velmora_carried_form_fixture velmora_installer_driver velmora_picture_fixtures)
  set_tests_properties(button_unit_test PROPERTIES TIMEOUT 300)
  # A window while its handler runs a long sequence.
  velmora_test(busy_window_test SOURCES busy_window_test.cpp LIBS velmora_carried_form_fixture)
  velmora_uses_screen(engine_test window_unit_test button_unit_test busy_window_test)
endif()
