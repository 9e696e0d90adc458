find_package(PkgConfig REQUIRED)
pkg_check_modules(ONIGURUMA REQUIRED IMPORTED_TARGET oniguruma)
quillon_bench(bench_regex ${CMAKE_CURRENT_SOURCE_DIR}/regex.cpp DEPS quillon_regex quillon_bench_prose PkgConfig::ONIGURUMA quillon_bench_heap)
