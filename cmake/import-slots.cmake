# velmora_bind_at_first_call(<target> <list>)
# The target imports none of the system DLLs that <list> names (one
# "DLL function [architecture]" a line): their functions' slots, and the
# stubs that bind each at its first call, come from src/host/make_import_slots.py.
# An empty archive under each DLL's import library name, found first, keeps
# the toolchain's import library out of the link, so that a call to a
# function missing from the list fails the link and names it.
function(velmora_bind_at_first_call target list)
  set(directory ${CMAKE_CURRENT_BINARY_DIR}/${target}-import-slots)
  set(slots ${directory}/import_slots.s)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(arch i686)
  else()
    set(arch x86_64)
  endif()
  find_library(VELMORA_KERNEL32_IMPORT_LIBRARY NAMES libkernel32.a REQUIRED NO_CACHE)
  get_filename_component(import_libraries ${VELMORA_KERNEL32_IMPORT_LIBRARY} DIRECTORY)
  set(generator ${PROJECT_SOURCE_DIR}/src/host/make_import_slots.py)
  add_custom_command(OUTPUT ${slots}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
    COMMAND ${VELMORA_PYTHON3} ${generator} ${arch} ${CMAKE_NM} ${import_libraries} ${list} ${slots}
    DEPENDS ${generator} ${list}
    COMMENT "Making the import slots of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${slots})

  file(STRINGS ${list} lines REGEX "^[^# ]+\\.dll ")
  set(libraries)
  foreach(line ${lines})
    string(REGEX REPLACE "\\.dll .*" "" library "${line}")
    list(APPEND libraries ${library})
  endforeach()
  list(REMOVE_DUPLICATES libraries)
  foreach(library ${libraries})
    file(WRITE ${directory}/lib${library}.a "!<arch>\n")
  endforeach()
  target_link_directories(${target} BEFORE PRIVATE ${directory})
endfunction()
