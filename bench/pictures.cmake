quillon_bench(bench_pictures ${CMAKE_CURRENT_SOURCE_DIR}/pictures.cpp DEPS quillon_pictures_gui)
