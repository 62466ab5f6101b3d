find_package(ZLIB REQUIRED)
velmora_test(zip_test
  SOURCES archive_reader_test.cpp entry_name_test.cpp entry_target_test.cpp entry_writer_test.cpp extract_test.cpp
          zip_fixture.cpp
  LIBS velmora_zip ZLIB::ZLIB)

# Archives made at test time by Info-ZIP zip, 7-Zip, bsdtar and Python's
# zipfile, then extracted by the test program (under Wine in a Windows build).
add_test(NAME zip_corpus COMMAND ${VELMORA_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/make_corpus.py ${VELMORA_ZIP_CORPUS})
set_tests_properties(zip_corpus PROPERTIES FIXTURES_SETUP zip_corpus)
velmora_test(zip_corpus_test SOURCES corpus_test.cpp LIBS velmora_zip)
target_compile_definitions(zip_corpus_test PRIVATE ZIP_CORPUS_DIR="${VELMORA_ZIP_CORPUS}")
set_tests_properties(zip_corpus_test PROPERTIES FIXTURES_REQUIRED zip_corpus)

# The extraction on a disk that fills up.
velmora_test(zip_faults_test SOURCES extract_faults_test.cpp zip_fixture.cpp LIBS velmora_zip ZLIB::ZLIB)
velmora_uses_volumes(zip_faults_test)
