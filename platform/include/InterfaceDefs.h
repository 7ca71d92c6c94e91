#ifndef _INTERFACE_DEFS_H
#define _INTERFACE_DEFS_H

#include <GraphicsDefs.h>
#include <SupportDefs.h>

// Mouse buttons, as GetMouse and the mouse messages report them.
enum {
    B_PRIMARY_MOUSE_BUTTON = 0x01,
    B_SECONDARY_MOUSE_BUTTON = 0x02,
    B_TERTIARY_MOUSE_BUTTON = 0x04,
};

// The bytes a key press carries for keys that have no character of their
// own; function keys carry B_FUNCTION_KEY and are told apart by their key
// code.
enum {
    B_BACKSPACE = 0x08,
    B_RETURN = 0x0a,
    B_ENTER = 0x0a,
    B_SPACE = 0x20,
    B_TAB = 0x09,
    B_ESCAPE = 0x1b,
    B_LEFT_ARROW = 0x1c,
    B_RIGHT_ARROW = 0x1d,
    B_UP_ARROW = 0x1e,
    B_DOWN_ARROW = 0x1f,
    B_INSERT = 0x05,
    B_DELETE = 0x7f,
    B_HOME = 0x01,
    B_END = 0x04,
    B_PAGE_UP = 0x0b,
    B_PAGE_DOWN = 0x0c,
    B_FUNCTION_KEY = 0x10,
};

// Key codes of the function keys, as the "key" field of B_KEY_DOWN holds
// them.
enum {
    B_F1_KEY = 0x02,
    B_F2_KEY = 0x03,
    B_F3_KEY = 0x04,
    B_F4_KEY = 0x05,
    B_F5_KEY = 0x06,
    B_F6_KEY = 0x07,
    B_F7_KEY = 0x08,
    B_F8_KEY = 0x09,
    B_F9_KEY = 0x0a,
    B_F10_KEY = 0x0b,
    B_F11_KEY = 0x0c,
    B_F12_KEY = 0x0d,
};

// Modifier keys, as the "modifiers" field of B_KEY_DOWN holds them.
enum {
    B_SHIFT_KEY = 0x00000001,
    B_COMMAND_KEY = 0x00000002,
    B_CONTROL_KEY = 0x00000004,
    B_CAPS_LOCK = 0x00000008,
    B_SCROLL_LOCK = 0x00000010,
    B_NUM_LOCK = 0x00000020,
    B_OPTION_KEY = 0x00000040,
    B_MENU_KEY = 0x00000080,
};

// Resizing modes: four 4-bit codes, (top << 12) | (left << 8) | (bottom << 4) | right.
enum {
    B_FOLLOW_NONE = 0,
    B_FOLLOW_LEFT = 0x0202,
    B_FOLLOW_RIGHT = 0x0404,
    B_FOLLOW_LEFT_RIGHT = 0x0204,
    B_FOLLOW_H_CENTER = 0x0505,
    B_FOLLOW_TOP = 0x1010,
    B_FOLLOW_BOTTOM = 0x3030,
    B_FOLLOW_TOP_BOTTOM = 0x1030,
    B_FOLLOW_V_CENTER = 0x5050,
    B_FOLLOW_ALL_SIDES = 0x1234,
    B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES,
};

// View flags.
enum {
    B_FULL_UPDATE_ON_RESIZE = 0x80000000,
    B_WILL_DRAW = 0x20000000,
    B_PULSE_NEEDED = 0x10000000,
    B_NAVIGABLE_JUMP = 0x08000000,
    B_FRAME_EVENTS = 0x04000000,
    B_NAVIGABLE = 0x02000000,
    B_SUBPIXEL_PRECISE = 0x01000000,
    B_DRAW_ON_CHILDREN = 0x00800000,
    B_INPUT_METHOD_AWARE = 0x00400000,
};

enum window_type {
    B_UNTYPED_WINDOW = 0,
    B_TITLED_WINDOW = 1,
    B_MODAL_WINDOW = 3,
    B_DOCUMENT_WINDOW = 11,
    B_BORDERED_WINDOW = 20,
    B_FLOATING_WINDOW = 21,
};

enum window_look {
    B_BORDERED_WINDOW_LOOK = 20,
    B_NO_BORDER_WINDOW_LOOK = 19,
    B_TITLED_WINDOW_LOOK = 1,
    B_DOCUMENT_WINDOW_LOOK = 11,
    B_MODAL_WINDOW_LOOK = 3,
    B_FLOATING_WINDOW_LOOK = 7,
};

enum window_feel {
    B_NORMAL_WINDOW_FEEL = 0,
    B_MODAL_APP_WINDOW_FEEL = 1,
    B_MODAL_SUBSET_WINDOW_FEEL = 2,
    B_MODAL_ALL_WINDOW_FEEL = 3,
    B_FLOATING_APP_WINDOW_FEEL = 4,
    B_FLOATING_SUBSET_WINDOW_FEEL = 5,
    B_FLOATING_ALL_WINDOW_FEEL = 6,
};

enum {
    B_NOT_MOVABLE = 0x00000001,
    B_NOT_RESIZABLE = 0x00000002,
    B_NOT_H_RESIZABLE = 0x00000004,
    B_NOT_V_RESIZABLE = 0x00000008,
    B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
    B_NOT_CLOSABLE = 0x00000020,
    B_NOT_ZOOMABLE = 0x00000040,
    B_AVOID_FRONT = 0x00000080,
    B_NO_WORKSPACE_ACTIVATION = 0x00000100,
    B_OUTLINE_RESIZE = 0x00001000,
    B_AVOID_FOCUS = 0x00002000,
    B_NOT_MINIMIZABLE = 0x00004000,
    B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
    B_ASYNCHRONOUS_CONTROLS = 0x00080000,
    B_QUIT_ON_WINDOW_CLOSE = 0x00100000,
};

enum {
    B_CURRENT_WORKSPACE = 0,
    B_ALL_WORKSPACES = 0xffffffff,
};

enum menu_layout {
    B_ITEMS_IN_ROW = 0,
    B_ITEMS_IN_COLUMN = 1,
    B_ITEMS_IN_MATRIX = 2,
};

enum alignment {
    B_ALIGN_LEFT,
    B_ALIGN_RIGHT,
    B_ALIGN_CENTER,
};

#endif
