quillon_bench(bench_formatter ${CMAKE_CURRENT_SOURCE_DIR}/formatter.cpp DEPS quillon_app quillon_bench_motions)
