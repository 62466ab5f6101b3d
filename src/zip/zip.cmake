# The ZIP extractor, on minizip's unzip interface over zlib: natively built
# from the dependency cache's zlib source, for Windows the static libraries of
# the dependency prefix, built from the same source.
find_package(ZLIB REQUIRED)

if(NOT WIN32)
  # Natively minizip is built here from the Debian zlib source that
  # scripts/bootstrap keeps in the dependency cache, the source of the Windows
  # builds' minizip: the native tests and fuzzing then run the product's own
  # header parsing (instrumented when fuzzing). Debian's libminizip is an
  # older minizip that misreads a central ZIP64 field.
  if(DEFINED ENV{VELMORA_DEPS_CACHE})
    set(_deps_cache $ENV{VELMORA_DEPS_CACHE})
  else()
    set(_deps_cache /var/cache/velmora-deps)
  endif()
  file(GLOB _minizip_dirs ${_deps_cache}/src/zlib-src-*/contrib/minizip)
  list(LENGTH _minizip_dirs _count)
  if(NOT _count EQUAL 1)
    message(FATAL_ERROR "No zlib source with minizip in ${_deps_cache}/src: run scripts/bootstrap")
  endif()
  get_filename_component(_contrib ${_minizip_dirs} DIRECTORY)
  add_library(velmora_minizip STATIC ${_minizip_dirs}/unzip.c ${_minizip_dirs}/ioapi.c)
  target_include_directories(velmora_minizip PUBLIC ${_contrib})
  target_compile_definitions(velmora_minizip PRIVATE _LARGEFILE64_SOURCE NOUNCRYPT)
  target_link_libraries(velmora_minizip PUBLIC ZLIB::ZLIB)
else()
  find_path(VELMORA_MINIZIP_INCLUDE_DIR minizip/unzip.h REQUIRED)
  find_library(VELMORA_MINIZIP_LIBRARY minizip REQUIRED)
  add_library(velmora_minizip INTERFACE)
  target_include_directories(velmora_minizip INTERFACE ${VELMORA_MINIZIP_INCLUDE_DIR})
  target_link_libraries(velmora_minizip INTERFACE ${VELMORA_MINIZIP_LIBRARY} ZLIB::ZLIB)
endif()

velmora_library(velmora_zip
  archive_file.cpp
  archive_reader.cpp
  directories.cpp
  entry_name.cpp
  entry_target.cpp
  entry_writer.cpp
  extract.cpp)
# Minizip stays inside the archive reader's source: nothing that includes the
# library's headers sees it.
target_link_libraries(velmora_zip PUBLIC velmora_host PRIVATE velmora_minizip)

# The command-line driver that bench/zip/run times against other extractors.
if(NOT VELMORA_FUZZ)
  add_executable(velmora_unzip ${PROJECT_SOURCE_DIR}/bench/zip/velmora_unzip.cpp)
  target_link_libraries(velmora_unzip PRIVATE velmora_zip)
  target_compile_options(velmora_unzip PRIVATE ${VELMORA_WARNINGS})
endif()
