# velmora_delay_load(<target> <library>...)
# The target does not load the named system DLLs at start-up but at the first
# call of one of their functions: its -l<library> finds a delay-import library
# made here from the toolchain's import library, ahead of the toolchain's own.
# What is loaded at start-up is searched for before the program can restrict
# the search (under Wine the DLLs that user32, ole32 and shell32 import are
# looked for in the program's folder first); what is loaded later is not.
function(velmora_delay_load target)
  set(directory ${CMAKE_CURRENT_BINARY_DIR}/${target}-delay-load)
  # Import symbols read __imp_<name>, with the C symbol prefix "_" on i686.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(import_prefix __imp__)
  else()
    set(import_prefix __imp_)
  endif()
  set(libraries)
  foreach(library ${ARGN})
    find_library(VELMORA_IMPORT_LIBRARY_${library} NAMES lib${library}.a REQUIRED NO_CACHE)
    set(import ${VELMORA_IMPORT_LIBRARY_${library}})
    set(definition ${directory}/${library}.def)
    set(output ${directory}/lib${library}.a)
    # --kill-at: on i686 the library keeps the decorated names (Sleep@4) that
    # the code refers to, and the DLL is asked for the plain export (Sleep).
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
      COMMAND sh -c "{ echo 'LIBRARY ${library}.dll'; echo EXPORTS; '${CMAKE_NM}' -g '${import}' | sed -n 's/^[0-9a-f]* I ${import_prefix}//p' | LC_ALL=C sort -u; } > '${definition}'"
      COMMAND ${VELMORA_DLLTOOL} --deterministic-libraries --kill-at -d ${definition} -y ${output}
      DEPENDS ${import}
      COMMENT "Making the delay-import library of ${library}.dll"
      VERBATIM)
    list(APPEND libraries ${output})
  endforeach()
  add_custom_target(${target}_delay_load DEPENDS ${libraries})
  add_dependencies(${target} ${target}_delay_load)
  target_link_directories(${target} BEFORE PRIVATE ${directory})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries})
endfunction()
