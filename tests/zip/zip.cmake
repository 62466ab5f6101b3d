find_package(ZLIB REQUIRED)
velmora_test(zip_test
  SOURCES archive_reader_test.cpp entry_name_test.cpp entry_target_test.cpp extract_test.cpp zip_fixture.cpp
  LIBS velmora_zip ZLIB::ZLIB)
