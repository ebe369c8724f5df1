# The core model benchmark runs on the editor's core library.
if(TARGET bench_core AND TARGET orvalis_core)
  target_link_libraries(bench_core PRIVATE orvalis_core)
endif()
