find_package(PkgConfig REQUIRED)
pkg_check_modules(LEPTONICA REQUIRED IMPORTED_TARGET lept)
quillon_bench(bench_patmake ${CMAKE_CURRENT_SOURCE_DIR}/patmake.cpp DEPS quillon_pictures PkgConfig::LEPTONICA)
