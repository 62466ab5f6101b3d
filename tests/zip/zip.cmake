find_package(ZLIB REQUIRED)
velmora_test(zip_test
  SOURCES archive_reader_test.cpp entry_target_test.cpp extract_test.cpp zip_fixture.cpp
  LIBS velmora_zip ZLIB::ZLIB)

# The extraction on a disk that fills up.
velmora_test(zip_faults_test SOURCES extract_faults_test.cpp zip_fixture.cpp LIBS velmora_zip ZLIB::ZLIB)
velmora_uses_volumes(zip_faults_test)
