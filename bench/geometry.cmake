# The geometry commands benchmark runs on the editor's core library.
if(TARGET bench_geometry AND TARGET orvalis_core)
  target_link_libraries(bench_geometry PRIVATE orvalis_core)
endif()
