# Special folders, shortcuts and opening a web address. The path rules are
# portable and tested in both builds; the shell and COM calls are Windows-only.
set(velmora_shell_sources special_folders.cpp shortcut.cpp)
if(WIN32)
  list(APPEND velmora_shell_sources special_folders_windows.cpp shortcut_windows.cpp open_url.cpp)
endif()
velmora_library(velmora_shell ${velmora_shell_sources})
target_link_libraries(velmora_shell PUBLIC velmora_host)
if(WIN32)
  target_link_libraries(velmora_shell PUBLIC shell32 ole32 uuid user32)
  # Used only when no address is given: the bare host of the group's forum.
  target_compile_definitions(velmora_shell PRIVATE VELMORA_DEFAULT_WEB_ADDRESS="${VELMORA_FORUM_HOST}")
endif()
