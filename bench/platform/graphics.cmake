# A full repaint of the board through the software renderer.
kx_add_bench(bench_repaint
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RepaintBench.cpp
    LIBS kx_game)
# The painter is the platform's own; the numbers come from the board.
target_include_directories(bench_repaint PRIVATE ${PROJECT_SOURCE_DIR}/platform)
