# The path rules of special folders and shortcuts, in both builds.
velmora_test(shell_rules_test SOURCES special_folders_test.cpp shortcut_test.cpp LIBS velmora_shell)

if(WIN32)
  # The shell itself under Wine: folders, real shortcuts, the hand-over of a
  # web address.
  velmora_test(shell_services_test
    SOURCES special_folders_windows_test.cpp shortcut_windows_test.cpp open_url_test.cpp
    LIBS velmora_shell advapi32)
  # The program that the real hand-over starts instead of a browser.
  add_executable(open_url_probe open_url_probe.cpp)
  target_compile_options(open_url_probe PRIVATE ${VELMORA_WARNINGS})
  add_dependencies(shell_services_test open_url_probe)
  target_compile_definitions(shell_services_test PRIVATE OPEN_URL_PROBE="$<TARGET_FILE:open_url_probe>")
  velmora_uses_screen(shell_services_test)
endif()
