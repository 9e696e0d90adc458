quillon_bench(bench_editorex ${CMAKE_CURRENT_SOURCE_DIR}/editorex.cpp DEPS quillon_editor)
