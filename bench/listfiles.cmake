quillon_bench(bench_listfiles ${CMAKE_CURRENT_SOURCE_DIR}/listfiles.cpp DEPS quillon_app)
