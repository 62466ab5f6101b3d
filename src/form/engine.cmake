# The form engine's Windows half: loading windows, the message loop,
# properties and events, and the window and Button unit types.
velmora_library(velmora_form_layout focus_order.cpp window_style.cpp)
target_link_libraries(velmora_form_layout PUBLIC velmora_form_description)

if(WIN32)
  velmora_library(velmora_form_engine
    runtime.cpp
    live_units.cpp
    template_access.cpp
    unit_cursor.cpp
    events.cpp
    loader.cpp
    message_loop.cpp
    properties.cpp
    engine_start.cpp
    window_unit.cpp
    button_unit.cpp
    busy_window.cpp)
  target_link_libraries(velmora_form_engine PUBLIC velmora_form_layout velmora_form_description velmora_picture
                        velmora_host ole32 user32 gdi32)
endif()
