quillon_bench(bench_colourer ${CMAKE_CURRENT_SOURCE_DIR}/colourer.cpp DEPS quillon_editor)
