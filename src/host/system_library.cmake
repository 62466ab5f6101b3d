# Keeping planted DLLs out: the search restriction and system DLLs by full path.
if(WIN32)
  velmora_library(velmora_system_library system_library.cpp)
endif()
