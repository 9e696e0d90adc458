quillon_bench(bench_colourers ${CMAKE_CURRENT_SOURCE_DIR}/colourers.cpp DEPS quillon_lists)
