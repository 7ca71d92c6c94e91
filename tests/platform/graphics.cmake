# The software renderer, fonts and image loading. The tests reach the
# platform's private headers, and make their own PNG and JPEG files with the
# image library's savers. Windows draw text from their own threads, so the
# thread sanitizer runs them too.
kx_add_test(kx_graphics_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/PainterTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FontTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TranslationTest.cpp
    LIBS kx_platform kx_test_support PkgConfig::SDL2 PkgConfig::SDL2_IMAGE
    LABELS threads)
target_include_directories(kx_graphics_tests PRIVATE ${PROJECT_SOURCE_DIR}/platform)
