# The form description: its reader, the unit records and type numbering, the
# window and Button property blobs, and the writer that lays out blocks for
# the build's form tool and for tests. Portable: no platform calls.
velmora_library(velmora_form_description
  form_description.cpp
  form_description_stream.cpp
  form_description_writer.cpp
  unit_record.cpp
  unit_record_edit.cpp
  unit_types.cpp
  window_properties.cpp
  button_properties.cpp)
