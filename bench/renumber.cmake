quillon_bench(bench_renumber ${CMAKE_CURRENT_SOURCE_DIR}/renumber.cpp DEPS quillon_app quillon_bench_motions)
