# Menus, buttons, keyboard navigation, string views, window feels and launching other programs.
kx_add_test(kx_controls_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/MenuTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ControlsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RosterTest.cpp
    LIBS kx_platform kx_test_support
    LABELS threads)
