quillon_bench(bench_editorpaint ${CMAKE_CURRENT_SOURCE_DIR}/editorpaint.cpp DEPS quillon_editor_gui quillon_lists)
