# Keeping planted DLLs out: the search restriction, system DLLs by full path,
# and the binding of the installer's calls into them at the first call.
if(WIN32)
  velmora_library(velmora_system_library system_library.cpp)
  target_link_libraries(velmora_system_library PUBLIC velmora_host)
endif()
