# The editor beside QScintilla (Debian's libqscintilla2-qt6-dev), used by this benchmark only.
find_library(QSCINTILLA_LIBRARY qscintilla2_qt6)
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h PATHS /usr/include/x86_64-linux-gnu/qt6 /usr/include/qt6)
if(QSCINTILLA_LIBRARY AND QSCINTILLA_INCLUDE_DIR)
  quillon_bench(bench_editorscale ${CMAKE_CURRENT_SOURCE_DIR}/editorscale.cpp
                DEPS quillon_editor_gui quillon_lists ${QSCINTILLA_LIBRARY} quillon_bench_prose)
  target_include_directories(bench_editorscale PRIVATE ${QSCINTILLA_INCLUDE_DIR})
else()
  message(STATUS "QScintilla not found: bench_editorscale is not built (run scripts/setup)")
endif()
