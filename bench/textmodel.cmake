quillon_bench(bench_textmodel ${CMAKE_CURRENT_SOURCE_DIR}/textmodel.cpp DEPS quillon_editor)
