// Virtual-key codes carried in wParam of the key messages.
//
// Letters are their upper-case character ('A'-'Z') and digits their character ('0'-'9'), whatever
// the modifiers; the keys that produce a control character carry that character's code; the
// function keys are 112 (F1) to 123 (F12). The rest are numbers of our own.
#pragma once

namespace platform {

constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;

constexpr int VK_F1 = 112;
constexpr int VK_F2 = 113;
constexpr int VK_F3 = 114;
constexpr int VK_F4 = 115;
constexpr int VK_F5 = 116;
constexpr int VK_F6 = 117;
constexpr int VK_F7 = 118;
constexpr int VK_F8 = 119;
constexpr int VK_F9 = 120;
constexpr int VK_F10 = 121;
constexpr int VK_F11 = 122;
constexpr int VK_F12 = 123;

constexpr int VK_LEFT = 0x80;
constexpr int VK_UP = 0x81;
constexpr int VK_RIGHT = 0x82;
constexpr int VK_DOWN = 0x83;
constexpr int VK_HOME = 0x84;
constexpr int VK_END = 0x85;
constexpr int VK_PRIOR = 0x86;  // page up
constexpr int VK_NEXT = 0x87;   // page down
constexpr int VK_INSERT = 0x88;
constexpr int VK_DELETE = 0x89;
constexpr int VK_SHIFT = 0x8A;
constexpr int VK_CONTROL = 0x8B;
constexpr int VK_MENU = 0x8C;  // Alt

// Mouse buttons, for GetKeyState.
constexpr int VK_LBUTTON = 0x8D;
constexpr int VK_RBUTTON = 0x8E;

// Highest code; the key-state table has one entry per code up to it.
constexpr int VK_LAST = 0xFF;

}  // namespace platform
