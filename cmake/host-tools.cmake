# Build-time tools run on the build machine. The native build builds them as
# ordinary targets; a cross build builds the same tools/ project with the host
# compiler as an external project.
set(VELMORA_HOST_TOOLS make_constant_pool make_form make_standin_image)

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(_byproducts)
  foreach(tool IN LISTS VELMORA_HOST_TOOLS)
    list(APPEND _byproducts ${_tools_dir}/${tool})
  endforeach()
  ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${_tools_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -G Ninja
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_byproducts})
  foreach(tool IN LISTS VELMORA_HOST_TOOLS)
    set(VELMORA_TOOL_${tool} ${_tools_dir}/${tool})
  endforeach()
  set(VELMORA_TOOLS_DEPEND host_tools)
else()
  add_subdirectory(tools)
  foreach(tool IN LISTS VELMORA_HOST_TOOLS)
    set(VELMORA_TOOL_${tool} $<TARGET_FILE:${tool}>)
  endforeach()
  set(VELMORA_TOOLS_DEPEND ${VELMORA_HOST_TOOLS})
endif()
