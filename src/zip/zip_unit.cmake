# The ZIP压缩 unit type over the extractor, for the Windows engine.
if(WIN32)
  velmora_library(velmora_zip_unit zip_unit.cpp)
  target_link_libraries(velmora_zip_unit PUBLIC velmora_zip velmora_form_engine)
endif()
