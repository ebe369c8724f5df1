# The DXF reading benchmark runs beside Debian's libdxflib (package
# libdxflib-dev) as its parse-only peer.
if(TARGET bench_read_dxf)
  find_path(DXFLIB_INCLUDE_DIR dl_dxf.h PATH_SUFFIXES dxflib)
  find_library(DXFLIB_LIBRARY dxflib)
  if(NOT DXFLIB_INCLUDE_DIR OR NOT DXFLIB_LIBRARY)
    message(FATAL_ERROR "bench_read_dxf needs libdxflib-dev (scripts/install-deps)")
  endif()
  target_sources(bench_read_dxf PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/dxflib_counter.cpp)
  target_include_directories(bench_read_dxf SYSTEM PRIVATE ${DXFLIB_INCLUDE_DIR})
  target_link_libraries(bench_read_dxf PRIVATE ${DXFLIB_LIBRARY})
endif()
